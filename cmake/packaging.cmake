# Packages hold whatever the install rules put in: natively the program and
# its manual page, as a Debian package; when cross-built for Windows, the
# Windows programs (the window and the console program), as a ZIP.
if(NOT WIN32)
  # Debian keeps manual pages compressed, gzip -9n so the bytes stay the same
  # from one build to the next.
  set(KALVORIN_MAN_PAGE ${CMAKE_CURRENT_BINARY_DIR}/kalvorin.1.gz)
  add_custom_command(OUTPUT ${KALVORIN_MAN_PAGE}
    COMMAND gzip -9n -c ${CMAKE_CURRENT_SOURCE_DIR}/cli/kalvorin.1 > ${KALVORIN_MAN_PAGE}
    DEPENDS cli/kalvorin.1
    VERBATIM)
  add_custom_target(kalvorin_man_page ALL DEPENDS ${KALVORIN_MAN_PAGE})
  install(FILES ${KALVORIN_MAN_PAGE} DESTINATION share/man/man1)
endif()

set(CPACK_PACKAGE_NAME kalvorin)
set(CPACK_PACKAGE_VENDOR kalvorin)
set(CPACK_PACKAGE_CONTACT "kalvorin developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "C source code generator for a discrete Fourier transform of one fixed length")
set(CPACK_PACKAGE_DESCRIPTION [[
kalvorin factors a length N (a composite number from 4 to 250000) and
writes FFT<N>.cpp: a twiddle table and three transforms of that length,
one mixed-radix stage per prime factor, as plain C loops.]])
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_SYSTEM_NAME windows-x86_64)
  else()
    set(CPACK_SYSTEM_NAME windows-i686)
  endif()
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION devel)
  # dpkg-shlibdeps (dpkg-dev) finds the library versions; without it the
  # package names them by hand.
  find_program(KALVORIN_DPKG_SHLIBDEPS dpkg-shlibdeps)
  if(KALVORIN_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libgcc-s1, libstdc++6")
  endif()
endif()
include(CPack)
