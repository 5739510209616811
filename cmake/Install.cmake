# Where a Debian system keeps each file: pontax is a command (/usr/bin, man section 1), dravel
# and kelvane are games (/usr/games, section 6), as Debian's own chess programs are. Two
# components, one package each.
include(GNUInstallDirs)
set(PONTAX_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/pontax)
set(DRAVEL_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/dravel)
set(GAMES_DIR games)

install(TARGETS pontax RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT pontax)
install(FILES Pontax.html Pontax.eng README.md DESTINATION ${PONTAX_DOC_DIR} COMPONENT pontax)
file(GLOB example_configurations CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/examples/*.eng)
install(FILES ${example_configurations} DESTINATION ${PONTAX_DOC_DIR}/examples COMPONENT pontax)

install(TARGETS dravel kelvane RUNTIME DESTINATION ${GAMES_DIR} COMPONENT dravel)
install(FILES gui/app/resources/dravel.desktop DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications
        COMPONENT dravel)
install(FILES ${CMAKE_BINARY_DIR}/gui/app/bitmaps/dravel.png DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/48x48/apps COMPONENT dravel)
install(FILES docs/dravel.png DESTINATION ${DRAVEL_DOC_DIR} COMPONENT dravel)

# Man pages go in compressed, as Debian keeps them.
set(man_pages pontax.1:pontax dravel.6:dravel kelvane.6:dravel)
set(compressed_pages)
foreach(entry IN LISTS man_pages)
  string(REPLACE ":" ";" entry ${entry})
  list(GET entry 0 page)
  list(GET entry 1 component)
  string(REGEX REPLACE ".*\\." "" section ${page})
  set(compressed ${CMAKE_BINARY_DIR}/man/${page}.gz)
  add_custom_command(OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/docs/man/${page} > ${compressed}
    DEPENDS ${PROJECT_SOURCE_DIR}/docs/man/${page})
  list(APPEND compressed_pages ${compressed})
  install(FILES ${compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section} COMPONENT ${component})
endforeach()
add_custom_target(man_pages ALL DEPENDS ${compressed_pages})

# The installed pontax opens the installed help page when its working directory has none.
set_property(SOURCE adapter/driver/platform/HelpPagePosix.cpp DIRECTORY adapter APPEND PROPERTY COMPILE_DEFINITIONS
             PONTAX_INSTALLED_HELP_PAGE="${CMAKE_INSTALL_PREFIX}/${PONTAX_DOC_DIR}/Pontax.html")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_PACKAGE_VERSION 1.3~b10)
set(CPACK_PACKAGE_CONTACT "Chess toolkit developers <chess-toolkit@localhost>")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PONTAX_PACKAGE_NAME pontax)
set(CPACK_DEBIAN_PONTAX_PACKAGE_SECTION games)
set(CPACK_COMPONENT_PONTAX_DESCRIPTION "run an xboard chess engine in a UCI chess GUI
 pontax is a protocol adapter: a chess GUI that speaks UCI starts it as its engine, and it runs
 an xboard (WinBoard) engine and translates both ways, with pondering, analysis, clock guard,
 mate scores and the engine's own options. Configurations for Debian's engines are included.")
set(CPACK_DEBIAN_PONTAX_PACKAGE_RECOMMENDS "fairymax")
set(CPACK_DEBIAN_PONTAX_PACKAGE_SUGGESTS
    "gnuchess, phalanx, hoichess, sjeng, sjaakii, fairy-stockfish, polyglot, stockfish, xdg-utils")
set(CPACK_DEBIAN_DRAVEL_PACKAGE_NAME dravel)
set(CPACK_DEBIAN_DRAVEL_PACKAGE_SECTION games)
set(CPACK_COMPONENT_DRAVEL_DESCRIPTION "chess board for one player against an xboard engine
 dravel is a desktop chess program: moves by mouse, typed or picked from a list, its own chess
 rules, games saved to and loaded from .chd files, three levels. It plays Fairy-Max, or another
 xboard engine, through its launcher kelvane.")
set(CPACK_DEBIAN_DRAVEL_PACKAGE_RECOMMENDS "fairymax")
set(CPACK_DEBIAN_DRAVEL_PACKAGE_SUGGESTS "gnuchess, phalanx, hoichess, sjeng")
set(CPACK_COMPONENTS_ALL pontax dravel)
include(CPack)
