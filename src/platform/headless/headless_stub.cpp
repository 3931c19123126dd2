// headless back-end: see headless.h
