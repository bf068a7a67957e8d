# `make package`: a Debian package of the installed layout. The libraries
# come from dpkg-shlibdeps; what the program loads by name at run time (the
# platform plugin, fonts standing in for the Windows ones, Qt's Russian
# texts) is listed here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME taynovid)
set(CPACK_PACKAGE_VENDOR "ТАЙНОВИД")
set(CPACK_PACKAGE_CONTACT "ТАЙНОВИД <taynovid@taynovid.ru>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "divination by the 64 hexagrams")
set(CPACK_PACKAGE_DESCRIPTION
  "A small desktop program for divination by the 64 hexagrams. The user forms a\n"
  "question and casts six lines, by heads and tails or by letting the program\n"
  "toss three coins for each line, and the program finds the hexagram and\n"
  "shows its reading. A table of all 64 hexagrams opens any reading directly,\n"
  "and the settings are kept between runs. The interface is in Russian.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-liberation, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "pulseaudio | pipewire-pulse")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "")
include(CPack)

# Debian keeps manuals and the change log compressed, and every package
# carries its copyright notice.
foreach(page taynovid.1 ru/taynovid.1)
  set(compressed ${CMAKE_BINARY_DIR}/man/${page}.gz)
  add_custom_command(OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man/ru
    COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/data/desktop/${page} > ${compressed}
    DEPENDS ${PROJECT_SOURCE_DIR}/data/desktop/${page})
  list(APPEND compressed_pages ${compressed})
endforeach()
set(changelog ${CMAKE_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${changelog}
  COMMAND gzip -9n -c ${CMAKE_CURRENT_LIST_DIR}/changelog > ${changelog}
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/changelog)
add_custom_target(compressed_docs ALL DEPENDS ${compressed_pages} ${changelog})

install(FILES ${CMAKE_BINARY_DIR}/man/taynovid.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/man/ru/taynovid.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/ru/man1)
install(FILES ${changelog} ${CMAKE_CURRENT_LIST_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
