# SPDX-License-Identifier: GPL-3.0-or-later
#
# Debian's hardening, as dpkg-buildflags gives it with every feature on
# (fortified functions, stack protector, read-only relocations bound at load
# time), for every optimised build that is not a sanitizer build: the tests run
# on the very code the package ships. Only the hardening flags are taken: the
# optimisation and debug levels stay the build type's, so the arithmetic is
# compiled as before (-ffp-contract=off and -fno-fast-math are set above and
# nothing here touches them).
#
# The build and source folders are mapped to "." in whatever the compiler
# writes, so no file of the package names the folder it was built in.
# -fno-ident keeps the compiler's version out of the objects' .comment section.
add_compile_options(-fno-ident "-ffile-prefix-map=${PROJECT_SOURCE_DIR}=." "-ffile-prefix-map=${PROJECT_BINARY_DIR}=.")

option(KORVO_HARDEN "Build with Debian's hardening flags (dpkg-buildflags)" ON)
find_program(KORVO_DPKG_BUILDFLAGS dpkg-buildflags)
if(KORVO_HARDEN AND NOT KORVO_SANITIZE)
  if(NOT KORVO_DPKG_BUILDFLAGS)
    message(FATAL_ERROR "dpkg-buildflags (package dpkg-dev) is needed for the hardening flags; "
      "install it or configure with -DKORVO_HARDEN=OFF")
  endif()
  set(korvo_flags_env ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
    --unset=DEB_CFLAGS_APPEND --unset=DEB_CXXFLAGS_APPEND --unset=DEB_LDFLAGS_APPEND --unset=DEB_CPPFLAGS_APPEND
    --unset=DEB_CXXFLAGS_SET --unset=DEB_LDFLAGS_SET --unset=DEB_CPPFLAGS_SET)
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(COMMAND ${korvo_flags_env} ${KORVO_DPKG_BUILDFLAGS} --get ${kind}
      OUTPUT_VARIABLE korvo_${kind} OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(korvo_${kind} UNIX_COMMAND "${korvo_${kind}}")
  endforeach()
  # -g and -O2 belong to the build type, and dpkg-buildflags maps the folder
  # it was run in, which is replaced by the two maps above.
  list(FILTER korvo_CXXFLAGS EXCLUDE REGEX "^-(g|O[0-3s]?|ffile-prefix-map=.*|fdebug-prefix-map=.*)$")
  set(korvo_compile ${korvo_CPPFLAGS} ${korvo_CXXFLAGS})
  # Fortified functions need the optimiser: a Debug build takes the rest only.
  list(TRANSFORM korvo_compile REPLACE "^(-D_FORTIFY_SOURCE=.*)$" "$<$<NOT:$<CONFIG:Debug>>:\\1>")
  add_compile_options(${korvo_compile})
  add_link_options(${korvo_LDFLAGS})
  message(STATUS "Hardening: ${korvo_compile} ${korvo_LDFLAGS}")
endif()
