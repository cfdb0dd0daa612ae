# The hardening Debian builds its packages with: a stack protector, format strings checked,
# fortified C library calls where the compiler optimises, a position-independent program and
# read-only relocations bound at start. The sanitizer and fuzzing builds bring their own checks.
include(CheckPIESupported)
check_pie_supported()
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security)
if(NOT ZELTOMIL_SANITIZE AND NOT ZELTOMIL_FUZZ)
  # The fortified calls need optimisation: without it glibc warns and checks nothing.
  add_compile_options($<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
endif()
add_link_options(LINKER:-z,relro LINKER:-z,now)
