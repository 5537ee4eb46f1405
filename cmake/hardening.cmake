# Hardening for the builds we ship and measure (Release, RelWithDebInfo): a canary on every
# frame with a local array, the C library's checked copies of memcpy, read, printf and the rest,
# a probe on every page of a large stack frame so it cannot jump over the guard page, marked
# branch targets for the processor's control-flow checks, a position-independent program, and
# relocations resolved at start-up and then made read-only. The sanitizer and fuzz builds keep
# their own instrumentation instead: the checked copies need optimisation and get in the way
# of AddressSanitizer's interceptors.
#
# Flags that a distribution's build already passes (CXXFLAGS, LDFLAGS) are given again here,
# which the compiler and linker accept; _FORTIFY_SOURCE is left to the distribution when its
# flags set a level, since a second definition with another level is a warning.

include(CheckCXXCompilerFlag)
include(CheckLinkerFlag)
include(CheckPIESupported)

# Off only to measure what the hardening costs, against the same sources built with it.
option(FRUVANA_HARDEN "Harden Release and RelWithDebInfo builds" ON)
if(NOT FRUVANA_HARDEN OR NOT CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo)$"
   OR FRUVANA_SANITIZE OR FRUVANA_FUZZ)
  return()
endif()

check_pie_supported(OUTPUT_VARIABLE _pie_error LANGUAGES CXX)
if(NOT CMAKE_CXX_LINK_PIE_SUPPORTED)
  message(FATAL_ERROR "The toolchain cannot link a position-independent program: ${_pie_error}")
endif()
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
# Position-independent code for a library lets another shared object replace its functions at
# run time, so the compiler stops inlining them into one another (drawing a meter took twice
# as long). The game's libraries are static and linked into programs only, where nothing can
# replace them: the compiler is told so.
check_cxx_compiler_flag(-fno-semantic-interposition FRUVANA_HAS_NO_SEMANTIC_INTERPOSITION)
if(FRUVANA_HAS_NO_SEMANTIC_INTERPOSITION)
  add_compile_options(-fno-semantic-interposition)
endif()

add_compile_options(-fstack-protector-strong)
if(NOT CMAKE_CXX_FLAGS MATCHES "_FORTIFY_SOURCE")
  # Some compilers define it already; undefining first avoids a redefinition warning.
  add_compile_options(-U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=2)
endif()
# Both exist only on some processors (cf-protection on x86), so each is tried first.
check_cxx_compiler_flag(-fstack-clash-protection FRUVANA_HAS_STACK_CLASH_PROTECTION)
if(FRUVANA_HAS_STACK_CLASH_PROTECTION)
  add_compile_options(-fstack-clash-protection)
endif()
check_cxx_compiler_flag(-fcf-protection FRUVANA_HAS_CF_PROTECTION)
if(FRUVANA_HAS_CF_PROTECTION)
  add_compile_options(-fcf-protection)
endif()

check_linker_flag(CXX "LINKER:-z,relro,-z,now" FRUVANA_HAS_RELRO_NOW)
if(NOT FRUVANA_HAS_RELRO_NOW)
  message(FATAL_ERROR "The linker does not take -z relro -z now")
endif()
add_link_options("LINKER:-z,relro,-z,now")
