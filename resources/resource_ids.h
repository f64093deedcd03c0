#pragma once

// Resource identifiers shared by the resource script and the code that loads them.
#define IDI_ZEDUZOVIR 1
#define IDR_MANIFEST 1
#define IDR_LICENSE 1
