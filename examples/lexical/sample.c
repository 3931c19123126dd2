#include <a.h>
int x = 1.5f; /* c */
