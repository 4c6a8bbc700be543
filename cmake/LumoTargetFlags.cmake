# lumo_target_flags(TARGET): the warnings and, in optimised builds, Debian's hardening flags,
# set on each of our targets rather than for whole directories, so that code we do not own
# (imported targets, Qt's generated sources built into other targets) keeps its own.
include(CheckPIESupported)
check_pie_supported()

# The hardening of dpkg-buildflags with hardening=+all: stack protector, fortified libc calls,
# format checks, a read-only GOT (relro + bindnow) and position-independent executables.
# The sanitizer and fuzz trees go without it: _FORTIFY_SOURCE's checked calls bypass
# AddressSanitizer's interceptors.
option(LUMO_HARDENING "Build optimised configurations with Debian's hardening flags" ON)
if(LUMO_SANITIZE OR LUMO_FUZZ)
  set(LUMO_HARDENING OFF)
endif()

function(lumo_target_flags target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  endif()
  set_target_properties(${target} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  if(NOT LUMO_HARDENING OR NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    return()
  endif()
  set(optimised "$<CONFIG:Release,RelWithDebInfo,MinSizeRel>")
  # -U first: some compilers define _FORTIFY_SOURCE themselves.
  target_compile_options(${target} PRIVATE
    "$<${optimised}:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2;-fstack-protector-strong;-Wformat;-Werror=format-security>")
  if(NOT WIN32 AND NOT APPLE)
    target_link_options(${target} PRIVATE "$<${optimised}:LINKER:-z,relro;LINKER:-z,now>")
  endif()
endfunction()
