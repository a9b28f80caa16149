# Desktop integration and the Debian package.
#
# `cmake --install` puts the program in bin (see src/app), and here its desktop
# entry, icons, AppStream metainfo and documentation in the usual places of a
# Linux desktop. `cpack -G DEB` in a Release build directory packs the same
# tree as tesmir_<version>_<arch>.deb.

if(NOT TESMIR_WITH_QT)
  return()
endif()

include(GNUInstallDirs)

set(TESMIR_DATA_DIR ${PROJECT_SOURCE_DIR}/data)

install(FILES ${TESMIR_DATA_DIR}/${TESMIR_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TESMIR_DATA_DIR}/${TESMIR_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${TESMIR_DATA_DIR}/icons/tesmir.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 48 256)
  install(FILES ${TESMIR_DATA_DIR}/icons/${size}x${size}/tesmir.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE ${TESMIR_DATA_DIR}/copyright
  DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The manual page and the package's change log go compressed, as Debian
# installs them (gzip -n leaves no time stamp, so the bytes are reproducible).
set(TESMIR_GZIPPED)
foreach(file tesmir.1 changelog)
  add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${file}.gz
    COMMAND gzip -9n -c ${TESMIR_DATA_DIR}/${file} > ${CMAKE_CURRENT_BINARY_DIR}/${file}.gz
    DEPENDS ${TESMIR_DATA_DIR}/${file} VERBATIM)
  list(APPEND TESMIR_GZIPPED ${CMAKE_CURRENT_BINARY_DIR}/${file}.gz)
endforeach()
add_custom_target(tesmir_compressed_docs ALL DEPENDS ${TESMIR_GZIPPED})
# Building just the program is enough to install or pack it.
add_dependencies(tesmir tesmir_compressed_docs)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/tesmir.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
# AppStream wants screenshots as web addresses, so the picture of the main
# window travels with the documentation instead.
install(FILES ${PROJECT_SOURCE_DIR}/docs/main-window.png
  DESTINATION ${CMAKE_INSTALL_DOCDIR} OPTIONAL)

set(CPACK_PACKAGE_NAME tesmir)
set(CPACK_PACKAGE_VENDOR "Проект Тесмир")
set(CPACK_PACKAGE_CONTACT "Проект Тесмир <team@tesmir.invalid>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "single-phase short-circuit calculator for 0.4 kV networks")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
# CPack puts the summary above this text itself.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Тесмир computes the phase-neutral loop impedance and the single-phase
short-circuit current at the far end of a 0.4 kV radial feeder (supply
transformer, up to six cable, overhead-line or busbar sections and the arc
resistance), checks the protective device against that current, keeps a
report of named fault points, saves it as files and exports it to a
spreadsheet. The interface is in Russian.")
# Library dependencies come from the binary; the SVG plugins that draw the
# icon are loaded at run time, so their package is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
# The report is exported for a spreadsheet program such as LibreOffice Calc;
# Qt's translations put its file dialogs and standard buttons in the user's
# language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libreoffice-calc, qt6-translations-l10n")

set(CPACK_GENERATOR DEB)
include(CPack)
