# The Debian package, made by CPack (scripts/package.sh): the installed tree, its documents and
# the control data, with the library dependencies computed from the binaries.
set(doc_folder ${CMAKE_INSTALL_DATADIR}/doc/ludra)
set(changelog ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${changelog}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
    COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/packaging/changelog > ${changelog}
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog
    COMMENT "Compressing the changelog")
add_custom_target(ludra_changelog ALL DEPENDS ${changelog})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${changelog} DESTINATION ${doc_folder})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ludra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Orvel <ludra@orvel.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "quiz runner for learners, with a Polish interface")
# The summary above is the first line; CPack indents this and marks the empty line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Ludra runs multiple-choice question sets: a folder of question files or a set
chosen from a set list. The learner answers one question at a time, sees and
hears whether the answer was right, may repeat the wrongly answered
questions, and ends with a summary and a grade. Every window works from the
keyboard and with screen readers.

The package also holds ludra-skq, the command-line tool for authors, which
imports questions from Aiken, GIFT, Moodle XML and CSV files and checks,
packs and lists question sets.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${LUDRA_HOME_PAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the binaries don't name: the X11 platform plugin Qt loads, and the screen font, whose widths
# ludra-skq check measures texts with.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
