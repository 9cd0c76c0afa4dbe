# Optimised builds take the distribution's hardening flags: a stack
# protector, stack clash protection, fortified C library calls, format checks and a read-only GOT
# bound at start (Debian's compilers make programs position independent
# anyway). Debug and sanitizer builds go without: _FORTIFY_SOURCE wants
# optimisation and gets in the sanitizers' way. The build type still picks
# the optimisation level and debug information.
set(VANTAROO_HARDENED OFF)
string(TOUPPER "${CMAKE_BUILD_TYPE}" _build_type)
if(_build_type MATCHES "^(RELEASE|RELWITHDEBINFO|MINSIZEREL)$"
   AND NOT (VANTAROO_SANITIZE OR VANTAROO_TSAN OR VANTAROO_FUZZ))
  find_program(DPKG_BUILDFLAGS dpkg-buildflags)
  if(DPKG_BUILDFLAGS)
    set(VANTAROO_HARDENED ON)
  else()
    message(WARNING "dpkg-buildflags is missing (package dpkg-dev): this build is not hardened")
  endif()
endif()

# The flags dpkg-buildflags gives for `kind` (CPPFLAGS, CXXFLAGS, LDFLAGS),
# with every hardening feature and without its -g -O2, as a list.
function(dpkg_buildflags kind out)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all "DEB_${kind}_MAINT_STRIP=-g -O2"
            ${DPKG_BUILDFLAGS} --get ${kind}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  set(${out} ${flags} PARENT_SCOPE)
endfunction()

if(VANTAROO_HARDENED)
  dpkg_buildflags(CPPFLAGS preprocessor_flags)
  dpkg_buildflags(CXXFLAGS compiler_flags)
  dpkg_buildflags(LDFLAGS linker_flags)
  # Older dpkg leaves stack clash protection out even where gcc has it.
  include(CheckCXXCompilerFlag)
  check_cxx_compiler_flag(-fstack-clash-protection COMPILER_HAS_STACK_CLASH_PROTECTION)
  if(COMPILER_HAS_STACK_CLASH_PROTECTION AND NOT "-fstack-clash-protection" IN_LIST compiler_flags)
    list(APPEND compiler_flags -fstack-clash-protection)
  endif()
  add_compile_options(${preprocessor_flags} ${compiler_flags})
  add_link_options(${linker_flags})
  string(JOIN " " all_flags ${preprocessor_flags} ${compiler_flags} ${linker_flags})
  message(STATUS "Hardened with: ${all_flags}")
endif()
