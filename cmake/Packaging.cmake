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
  install(FILES ${PLOTGATE_X7_WZ} ${PLOTGATE_GMS} ${PLOTGATE_MACRO_BAS} ${PROJECT_SOURCE_DIR}/installer/README.txt
          DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_PACKAGE_FILE_NAME Plotgate-${PROJECT_VERSION}-win64-portable)
  else()
    set(CPACK_PACKAGE_FILE_NAME Plotgate-${PROJECT_VERSION}-portable)
  endif()
else()
  install(TARGETS plotgate RUNTIME DESTINATION bin)
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_PACKAGE_DESCRIPTION
      "The plotgate command shows, previews and encodes cutter jobs, sends them over a serial port, lists the ports and manages the CorelDRAW toolbar.")
endif()
include(CPack)
