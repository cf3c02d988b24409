# The Debian package, made by CPack from this build (tools/package.sh): everything that
# `cmake --install` installs, under /usr. Its dependencies are read from the programs by
# dpkg-shlibdeps; Qt's Wayland plugin is named besides, as nothing links it. The desktop entry,
# MIME package and icons under /usr/share are picked up by dpkg's triggers, so the package
# needs no maintainer scripts.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sekreta)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tavisto Software")
set(CPACK_PACKAGE_CONTACT "Tavisto Software <sekreta@tavisto.example.com>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "password keeper with one encrypted file of account entries")
string(JOIN "\n" CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Sekreta keeps account entries (account name, web address, user name,"
  "password and notes) in one file encrypted under a pass phrase. It copies an"
  "entry's password, user name or web address to the clipboard in one keystroke,"
  "opens the entry's site in the browser, and makes up pronounceable passwords."
  "."
  "sekreta is the desktop program, for X11 and Wayland; sekreta-cli works on the"
  "same files from a terminal, for scripts, export and import.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tavisto.example.com")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-wayland)
# The programs the desktop program starts: the URL and guide opener, and the tools that update
# the desktop's databases after it registers .sek files.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, shared-mime-info, desktop-file-utils")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
