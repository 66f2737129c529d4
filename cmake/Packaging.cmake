# make package: a Debian package of the installed layout under /usr. Its
# dependencies are found from the shared libraries the programs link; the
# desktop's caches (menu, file types, icons, manual pages) are refreshed by
# the triggers of the packages that own them, so it needs no scripts.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quarix)
set(CPACK_PACKAGE_VENDOR "The Quarix developers")
set(CPACK_PACKAGE_CONTACT "The Quarix developers <quarix@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "search Microsoft Access databases without Access")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Quarix searches Microsoft Access databases (.mdb and .accdb files, from\n"
    "Access 97 to today). Pick a table or saved query, a field, an operator and\n"
    "a value, and the matching records appear at once; narrow them with\n"
    "filters, page and sort them, export them to a spreadsheet. quarix-cli runs\n"
    "the same searches from a terminal. Quarix never writes to a database.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://quarix.example.org")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX packages)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The desktop's file associations and spreadsheet hand-over go through
# xdg-utils; the theme gives the icon its folders.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, desktop-file-utils, hicolor-icon-theme")
include(CPack)
