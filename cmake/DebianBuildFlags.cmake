# Debian's hardening for the programs a package ships: the compiler and linker
# flags dpkg-buildflags gives a Debian package build, with every hardening
# feature on (strong stack protector, _FORTIFY_SOURCE, format-string checks,
# read-only relocations and immediate binding, so that the relocations can be
# made read-only before the program runs). The release preset and
# scripts/test-deb.sh turn it on; the developers' and sanitizer builds keep
# their own flags.
option(FSB_DEBIAN_BUILDFLAGS "Compile and link with the flags of dpkg-buildflags, hardening included" OFF)
if(NOT FSB_DEBIAN_BUILDFLAGS)
  return()
endif()

find_program(FSB_DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT FSB_DPKG_BUILDFLAGS)
  message(WARNING "dpkg-buildflags (Debian package dpkg-dev) was not found: the programs are "
                  "built without Debian's hardening flags.")
  return()
endif()

# A packager's own choice of features wins; otherwise all of them.
if(DEFINED ENV{DEB_BUILD_MAINT_OPTIONS})
  set(fsb_maint_options "$ENV{DEB_BUILD_MAINT_OPTIONS}")
else()
  set(fsb_maint_options "hardening=+all")
endif()
foreach(kind CPPFLAGS CFLAGS CXXFLAGS LDFLAGS)
  # Run in the source folder, so that the file-prefix map it adds turns the
  # source paths recorded in the programs into ".".
  execute_process(
      COMMAND ${CMAKE_COMMAND} -E env "DEB_BUILD_MAINT_OPTIONS=${fsb_maint_options}"
              ${FSB_DPKG_BUILDFLAGS} --get ${kind}
      WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
      OUTPUT_VARIABLE fsb_deb_${kind}
      OUTPUT_STRIP_TRAILING_WHITESPACE
      RESULT_VARIABLE fsb_deb_result)
  if(NOT fsb_deb_result EQUAL 0)
    message(FATAL_ERROR "dpkg-buildflags --get ${kind} failed (${fsb_deb_result})")
  endif()
endforeach()
message(STATUS "Debian build flags (${fsb_maint_options}): ${fsb_deb_CPPFLAGS} ${fsb_deb_CXXFLAGS} ${fsb_deb_LDFLAGS}")

# Before the build type's own flags, so a Release build's -O3 still wins over
# the -O2 they carry. CMake has no preprocessor flags of its own, so CPPFLAGS
# go to both compilers.
string(APPEND CMAKE_C_FLAGS " ${fsb_deb_CPPFLAGS} ${fsb_deb_CFLAGS}")
string(APPEND CMAKE_CXX_FLAGS " ${fsb_deb_CPPFLAGS} ${fsb_deb_CXXFLAGS}")
foreach(kind EXE SHARED MODULE)
  string(APPEND CMAKE_${kind}_LINKER_FLAGS " ${fsb_deb_LDFLAGS}")
endforeach()
