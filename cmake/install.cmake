# Installation and the Debian package.
include(GNUInstallDirs)
set(TALVO_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/talvo)

install(TARGETS talvo-convert RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET talvo)
  install(TARGETS talvo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/talvo.desktop DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
  foreach(size 16 32 48 64 128 256)
    if(EXISTS ${CMAKE_SOURCE_DIR}/packaging/icons/talvo-${size}.png)
      install(FILES ${CMAKE_SOURCE_DIR}/packaging/icons/talvo-${size}.png
              DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps RENAME talvo.png)
    endif()
  endforeach()
endif()

if(NOT CMAKE_CROSSCOMPILING)
  set(TALVO_MAN ${CMAKE_BINARY_DIR}/talvo-convert.1)
  add_custom_command(OUTPUT ${TALVO_MAN}
    COMMAND ${CMAKE_COMMAND} -DCONVERT=$<TARGET_FILE:talvo-convert>
            -DEXAMPLES=${CMAKE_SOURCE_DIR}/packaging/talvo-convert-examples.txt
            -DVERSION=${PROJECT_VERSION} -DOUT=${TALVO_MAN} -P ${CMAKE_SOURCE_DIR}/cmake/make_man.cmake
    DEPENDS talvo-convert ${CMAKE_SOURCE_DIR}/packaging/talvo-convert-examples.txt ${CMAKE_SOURCE_DIR}/cmake/make_man.cmake
    COMMENT "Writing the man page of talvo-convert")
  add_custom_target(talvo_man ALL DEPENDS ${TALVO_MAN})
  install(FILES ${TALVO_MAN} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION ${TALVO_DOC_DIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/samples/ DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/talvo/samples)

set(CPACK_PACKAGE_NAME talvo)
set(CPACK_PACKAGE_VENDOR "The Talvo developers")
set(CPACK_PACKAGE_CONTACT "The Talvo developers <talvo@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "X-ray powder diffraction file converter")
set(CPACK_PACKAGE_DESCRIPTION "Talvo converts X-ray powder diffraction data files between the formats of
instruments and analysis programs, previews a pattern, and synthesises a step scan from a peak list.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
