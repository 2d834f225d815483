# What `cmake --install` puts under the prefix: the game and the author's tools, the data, and
# what a desktop needs to list, launch and describe the game.
# The project has no public address yet: the defaults use the reserved example.org domain and
# are meant to be overridden (-D...) by whoever publishes the game.
set(BINHOPPER_APP_ID "org.example.binhopper" CACHE STRING "AppStream component id (reverse DNS)")
set(BINHOPPER_HOMEPAGE "https://example.org/binhopper" CACHE STRING "Home page, also the base of screenshot addresses")

install(TARGETS binhopper binhopper-level binhopper-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(DATA_DIR ${CMAKE_INSTALL_DATADIR}/binhopper)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/media/ DESTINATION ${DATA_DIR}/media
  PATTERN icons EXCLUDE PATTERN README EXCLUDE)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/levels/ DESTINATION ${DATA_DIR}/levels
  FILES_MATCHING PATTERN "*.lv" PATTERN "edit.lv" EXCLUDE PATTERN "play.lv" EXCLUDE PATTERN solutions EXCLUDE PATTERN src EXCLUDE)

install(FILES ${CMAKE_SOURCE_DIR}/dist/binhopper.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 16 32 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/media/icons/binhopper-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME binhopper.png)
endforeach()

configure_file(${CMAKE_SOURCE_DIR}/dist/binhopper.metainfo.xml.in ${CMAKE_BINARY_DIR}/dist/${BINHOPPER_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/dist/${BINHOPPER_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
configure_file(${CMAKE_SOURCE_DIR}/dist/binhopper.6 ${CMAKE_BINARY_DIR}/dist/binhopper.6 @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/dist/binhopper.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_SOURCE_DIR}/media/font-license.txt
  DESTINATION ${CMAKE_INSTALL_DOCDIR})
