#include "app/application.h"

void application_main(StringView*, i64) {}
