# Release packages, made by `cmake --build --preset PRESET --target package` (scripts/package
# makes them all): on Windows a zip of the portable programs, on Linux a Debian package of
# the `plotgate` command line. The Windows installer is made by installer/.
set(CPACK_PACKAGE_NAME plotgate)
set(CPACK_PACKAGE_VENDOR "Meridal")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Sends drawings to vinyl cutters")
set(CPACK_PACKAGE_CONTACT "Meridal <support@meridal.example>")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)

if(WIN32)
  # Runs from any folder, a USB stick included: the settings file is written beside the
  # programs. The same files as the installer, and the command line.
  install(TARGETS Plotgate VornUSBSend plotgate RUNTIME DESTINATION .)
  install(FILES ${PLOTGATE_X7_WZ} ${PLOTGATE_GMS} ${PLOTGATE_MACRO_BAS} DESTINATION .)
  # A name of our own: the folder may be shared with other programs' files.
  install(FILES ${PROJECT_SOURCE_DIR}/installer/README.txt DESTINATION . RENAME "Plotgate readme.txt")
  set(CPACK_GENERATOR ZIP)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_PACKAGE_FILE_NAME Plotgate-${PROJECT_VERSION}-win64-portable)
  else()
    set(CPACK_PACKAGE_FILE_NAME Plotgate-${PROJECT_VERSION}-portable)
  endif()
else()
  install(TARGETS plotgate RUNTIME DESTINATION bin)
  # What Debian users expect beside the program: `man plotgate`, made from the program's own
  # --help texts so that it says what the program does, with the sections of
  # cmake/plotgate.h2m after them, and /usr/share/doc/plotgate with the machine-readable
  # copyright, the Debian changelog, whose first entry must name the version being built,
  # the README and the example drawings.
  find_program(HELP2MAN help2man REQUIRED)
  set(deb_dir ${PROJECT_SOURCE_DIR}/cmake/deb)
  file(STRINGS ${deb_dir}/changelog changelog_top LIMIT_COUNT 1)
  if(NOT changelog_top MATCHES "^plotgate \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "cmake/deb/changelog starts with \"${changelog_top}\"; its first entry must be for ${PROJECT_VERSION}")
  endif()
  set(manpage ${CMAKE_BINARY_DIR}/plotgate.1.gz)
  set(changelog ${CMAKE_BINARY_DIR}/changelog.gz)
  add_custom_command(
    OUTPUT ${manpage}
    COMMAND ${PROJECT_SOURCE_DIR}/cmake/make-manpage.sh $<TARGET_FILE:plotgate> ${PROJECT_SOURCE_DIR}/cmake/plotgate.h2m
            ${manpage}
    DEPENDS plotgate ${PROJECT_SOURCE_DIR}/cmake/make-manpage.sh ${PROJECT_SOURCE_DIR}/cmake/plotgate.h2m
    VERBATIM)
  add_custom_command(
    OUTPUT ${changelog}
    COMMAND sh -c "gzip -9n <\"$1\" >\"$2\"" gzip ${deb_dir}/changelog ${changelog}
    DEPENDS ${deb_dir}/changelog
    VERBATIM)
  add_custom_target(debian_docs ALL DEPENDS ${manpage} ${changelog})
  install(FILES ${manpage} DESTINATION share/man/man1)
  install(FILES ${deb_dir}/copyright ${changelog} DESTINATION share/doc/plotgate)
  install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION share/doc/plotgate)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION share/doc/plotgate/examples)
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # Debian's description lines stay within 80 columns.
  set(CPACK_PACKAGE_DESCRIPTION
      "The plotgate command shows, previews and encodes cutter jobs, sends them\nover a serial port, lists the ports and manages the CorelDRAW toolbar.")
endif()
include(CPack)
