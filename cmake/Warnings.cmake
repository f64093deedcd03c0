# zeduzovir_warnings: link it to every target the project compiles.
add_library(zeduzovir_warnings INTERFACE)
if(MSVC)
  target_compile_options(zeduzovir_warnings INTERFACE /W4 /permissive-
    $<$<BOOL:${ZEDUZOVIR_WARNINGS_AS_ERRORS}>:/WX>)
else()
  target_compile_options(zeduzovir_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion -Wnon-virtual-dtor
    -Wold-style-cast -Woverloaded-virtual
    $<$<BOOL:${ZEDUZOVIR_WARNINGS_AS_ERRORS}>:-Werror>)
endif()
