# The installed game, by the GNU install directories:
#   bin/velkaran                                 the game
#   share/velkaran/Data/                         the read-only data tree (no Settings/, no Screenshots/)
#   share/applications/org.example.velkaran.desktop, share/metainfo/org.example.velkaran.metainfo.xml
#   share/icons/hicolor/<N>x<N>/apps/velkaran.png  made by the asset generator from the game's art
#   share/man/man6/velkaran.6.gz, share/doc/velkaran/
# The tree keeps its name Data/ so that the game's "../Data/" paths hold from inside
# it; the player's settings and screenshots go to their own XDG folders instead.
include(GNUInstallDirs)

set(VELKARAN_APP_ID org.example.velkaran)
set(VELKARAN_INSTALL_DATA ${CMAKE_INSTALL_DATADIR}/velkaran)

# The game finds its data tree from its own folder, so the install stays relocatable:
# only the path from bin/ to share/velkaran/ is built in.
file(RELATIVE_PATH VELKARAN_INSTALLED_DATA_FROM_BIN
  ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/velkaran)
target_compile_definitions(velkaran PRIVATE
  VELKARAN_VERSION="${PROJECT_VERSION}"
  VELKARAN_INSTALLED_DATA="${VELKARAN_INSTALLED_DATA_FROM_BIN}")

install(TARGETS velkaran RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT game)
install(DIRECTORY ${VELKARAN_DATA_DIR}/ DESTINATION ${VELKARAN_INSTALL_DATA}/Data COMPONENT game
  REGEX "^${VELKARAN_DATA_DIR}/(Settings|Screenshots)(/.*)?$" EXCLUDE)

install(FILES packaging/${VELKARAN_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT game)
install(FILES packaging/${VELKARAN_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT game)
install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/hicolor
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons COMPONENT game)

# Debian wants manual pages and changelogs compressed, without a time stamp inside.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(VELKARAN_PACKAGING_OUT ${CMAKE_BINARY_DIR}/packaging)
add_custom_command(
  OUTPUT ${VELKARAN_PACKAGING_OUT}/velkaran.6.gz ${VELKARAN_PACKAGING_OUT}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VELKARAN_PACKAGING_OUT}
  COMMAND ${GZIP_PROGRAM} -9nc ${CMAKE_SOURCE_DIR}/packaging/velkaran.6 > ${VELKARAN_PACKAGING_OUT}/velkaran.6.gz
  COMMAND ${GZIP_PROGRAM} -9nc ${CMAKE_SOURCE_DIR}/packaging/changelog > ${VELKARAN_PACKAGING_OUT}/changelog.gz
  DEPENDS packaging/velkaran.6 packaging/changelog
  COMMENT "Compressing the manual page and the changelog")
add_custom_target(velkaran_packaging ALL
  DEPENDS ${VELKARAN_PACKAGING_OUT}/velkaran.6.gz ${VELKARAN_PACKAGING_OUT}/changelog.gz)
install(FILES ${VELKARAN_PACKAGING_OUT}/velkaran.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6 COMPONENT game)
install(FILES packaging/copyright ${VELKARAN_PACKAGING_OUT}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/velkaran COMPONENT game)

if(CMAKE_INSTALL_BINDIR STREQUAL "bin")
  install(FILES packaging/lintian-overrides RENAME velkaran
    DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides COMPONENT game)
endif()

# cpack -G DEB: the game alone (not the developers' tools), its library
# dependencies found by dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME velkaran)
set(CPACK_PACKAGE_VENDOR "The Velkaran developers")
set(CPACK_PACKAGE_CONTACT "The Velkaran developers <velkaran@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "first-person game: escape from a fortress built from a seed")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Stranded on a hostile planet, you escape from a fortress whose rooms and"
  "corridors are generated from a seed: keys and jail gates, teleports, force"
  "fields, hazards and sixty drones. Disable the cloaking device, rescue the"
  "captive Hiyura, bring four energy cells and the plasma injector to the"
  "spaceship and take off, against your record time. Each player keeps their"
  "own fortress and record. The game's texts are in Spanish.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://velkaran.example.org/")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};game;/")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The libraries name no OpenGL driver; Mesa's draws on any machine without another.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
