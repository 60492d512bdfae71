# make package: a Debian package of the program, build/corvanta_<version>_amd64.deb.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvanta)
set(CPACK_PACKAGE_VENDOR "The Corvanta developers")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CORVANTA_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "CD player that shows the lyrics in step with the music")
set(CPACK_PACKAGE_DESCRIPTION "Corvanta plays the tracks of an audio CD, a disc image or a ripped album,
and shows the lyrics of the playing song in step with the music, in a
Japanese user interface. Lyrics are plain text files with time tags such as
[01:23]; the current line lights up as the song reaches it.")
# dpkg-shlibdeps finds the libraries the program links; SDL is loaded at the first play,
# libsndfile at the first rip, and the lyrics are drawn in a Japanese face, which it cannot see.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libsdl2-2.0-0, libsndfile1, fonts-noto-cjk")
# On a Wayland desktop the program runs natively with Qt's Wayland plugin, and through XWayland
# without it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
