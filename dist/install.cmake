# What `cmake --install` puts under the prefix: the game and its level tools, the data, and
# what a desktop needs to list, launch and describe the game. The Debian package moves the
# programs to games/ and the data to share/games/binhopper (debian/rules).
# The project has no web site or mail address: the AppStream id names the game under its own
# name, and the metadata gives no home page or screenshot addresses.
set(BINHOPPER_APP_ID "org.binhopper.binhopper" CACHE STRING "AppStream component id (reverse DNS)")
set(BINHOPPER_TOOLS binhopper-level binhopper-sim)

install(TARGETS binhopper ${BINHOPPER_TOOLS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The folders the game reads, each installed whole but for what serves only the authors (level
# sources and solutions, notes) or what a game run from the source tree may have left there.
# The icons stay: the game gives them to its window.
set(BINHOPPER_DATA_FOLDERS media levels packs)
set(AUTHORS_ONLY README font-license.txt src solutions edit.lv play.lv *.autosave *.bad *.tmp)
set(skip)
foreach(pattern ${AUTHORS_ONLY})
  list(APPEND skip PATTERN ${pattern} EXCLUDE)
endforeach()
foreach(folder ${BINHOPPER_DATA_FOLDERS})
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/${folder}/ DESTINATION ${BINHOPPER_DATA_DIR}/${folder} ${skip})
endforeach()

install(FILES ${CMAKE_SOURCE_DIR}/dist/binhopper.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 16 32 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/media/icons/binhopper-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME binhopper.png)
endforeach()

configure_file(${CMAKE_SOURCE_DIR}/dist/binhopper.metainfo.xml.in ${CMAKE_BINARY_DIR}/dist/${BINHOPPER_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/dist/${BINHOPPER_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The tools live beside the game and, like it, are documented in the games section.
foreach(program binhopper ${BINHOPPER_TOOLS})
  configure_file(${CMAKE_SOURCE_DIR}/dist/${program}.6 ${CMAKE_BINARY_DIR}/dist/${program}.6 @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/dist/${program}.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_SOURCE_DIR}/media/font-license.txt
  DESTINATION ${CMAKE_INSTALL_DOCDIR})
