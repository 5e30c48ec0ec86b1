# SPDX-License-Identifier: MIT
# The Debian package, made by CPack (`make package`); scripts/check-package.sh checks it.

set(STRUKT_PACKAGE_MAINTAINER "Struktogramme-Entwickler <struktogramme@example.org>"
    CACHE STRING "Maintainer of the Debian package, as \"Name <address>\"")

# Manual page and changelog carry project()'s version; Debian wants both gzipped with -9n,
# which leaves out the name and time, so that the package is the same on every build.
set(STRUKT_PACKAGING_OUT ${CMAKE_BINARY_DIR}/packaging)
configure_file(${CMAKE_CURRENT_LIST_DIR}/struktogramme.1 ${STRUKT_PACKAGING_OUT}/struktogramme.1 @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${STRUKT_PACKAGING_OUT}/changelog @ONLY)
find_program(STRUKT_GZIP gzip REQUIRED)
set(STRUKT_GZIPPED_DOCS)
foreach(doc struktogramme.1 changelog)
  add_custom_command(OUTPUT ${STRUKT_PACKAGING_OUT}/${doc}.gz
                     COMMAND ${STRUKT_GZIP} -9nkf ${doc}
                     DEPENDS ${STRUKT_PACKAGING_OUT}/${doc}
                     WORKING_DIRECTORY ${STRUKT_PACKAGING_OUT}
                     VERBATIM)
  list(APPEND STRUKT_GZIPPED_DOCS ${STRUKT_PACKAGING_OUT}/${doc}.gz)
endforeach()
add_custom_target(packaging_docs ALL DEPENDS ${STRUKT_GZIPPED_DOCS})

install(FILES ${STRUKT_PACKAGING_OUT}/struktogramme.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The version has no Debian revision, so Debian counts the package as native: its changelog is
# changelog.gz, not changelog.Debian.gz.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${STRUKT_PACKAGING_OUT}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/struktogramme)

# The compiled translations (.qm) the translations/ folder made.
if(STRUKT_TRANSLATION_FILES)
  install(FILES ${STRUKT_TRANSLATION_FILES}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/struktogramme/translations)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME struktogramme)
set(CPACK_PACKAGE_VENDOR "Struktogramme-Entwickler")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor für strukturierte Programme als Flussdiagramm")
# Lines of at most 80 characters, none starting with a dot, as Debian wants them; CPack does not
# wrap them.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Programme werden von oben nach unten aus Anweisungen, Entscheidungen,\n"
    "Schleifen und benannten Blöcken aufgebaut und als Flussdiagramm oder als\n"
    "Nassi-Shneiderman-Struktogramm gezeigt. Der Editor speichert sie als Dateien\n"
    "(*.str), exportiert sie als Pascal, Python, Java oder C und als PNG-, SVG-\n"
    "oder PDF-Bild, liest Pascal-Quelltext ein und führt Programme Schritt für\n"
    "Schritt aus, mit Variablen und Schreibtischtest. Umwandeln und Ausführen\n"
    "gehen auch ohne Fenster auf der Kommandozeile.\n"
    "\n"
    "A desktop editor for structured programs drawn as flowcharts or\n"
    "Nassi-Shneiderman diagrams, with export to Pascal, Python, Java, C and\n"
    "pictures, Pascal import and a step-by-step interpreter. The user interface\n"
    "is German, with English as a second language.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${STRUKT_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the libraries' scan cannot see: the window icon is an SVG, drawn by the icon engine
# plugin in libqt6svg6; diagrams and printouts use DejaVu Sans and Liberation Serif; Qt's own
# dialogs speak German with qt6-translations-l10n.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, fonts-dejavu-core, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
include(CPack)
