#pragma once

// The program's version, shown in its file properties.
#define ZEDUZOVIR_VERSION_NUMBERS 1, 0, 0, 0
#define ZEDUZOVIR_VERSION_TEXT "1.00"
