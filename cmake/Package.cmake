# The Debian package made by ./package: where make install puts the program and its desktop
# files, and CPack's DEB generator. Only with KOTORI_PACKAGE: a portable build installs nothing.
include(GNUInstallDirs)

install(TARGETS kotori RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/kotori.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/org.example.kotori.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# readme.txt stays uncompressed: ヘルプ → ReadMe opens it by that name.
install(FILES ${CMAKE_SOURCE_DIR}/packaging/readme.txt ${CMAKE_SOURCE_DIR}/packaging/copyright
              ${CMAKE_SOURCE_DIR}/data/fonts/OFL.txt
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The menu icon, in the hicolor theme's sizes, from the send button's envelope.
add_executable(scale_icon ${CMAKE_SOURCE_DIR}/tools/scale_icon.cpp)
target_link_libraries(scale_icon PRIVATE Qt6::Gui kotori_options)
set(KOTORI_ICON_SOURCE ${CMAKE_SOURCE_DIR}/src/ui/icons/send.png)
set(KOTORI_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
set(KOTORI_ICON_SIZES 16 32 48 64 128 256)
set(KOTORI_ICONS)
foreach(size IN LISTS KOTORI_ICON_SIZES)
    list(APPEND KOTORI_ICONS ${KOTORI_ICON_DIR}/${size}x${size}/apps/kotori.png)
endforeach()
add_custom_command(OUTPUT ${KOTORI_ICONS}
    COMMAND scale_icon ${KOTORI_ICON_SOURCE} ${KOTORI_ICON_DIR} ${KOTORI_ICON_SIZES}
    DEPENDS scale_icon ${KOTORI_ICON_SOURCE}
    COMMENT "Scaling the menu icon" VERBATIM)
add_custom_target(kotori_icons ALL DEPENDS ${KOTORI_ICONS})
install(DIRECTORY ${KOTORI_ICON_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kotori)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor of short mails for i-mode phones, sent through Becky!")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # kotori_VERSION_amd64.deb
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Kotori maintainers <maintainers@users.noreply.c-seed-865f2ccd.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION mail)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_PACKAGE_DESCRIPTION
    "ことり便 is a single-window editor for short mails to i-mode phones. It counts
the body the way the phone service does, shows the estimated cost, warns and
cuts at a limit, shrinks text and lays a mail out in vertical writing for a
chosen phone screen. It sends by appending the mail to the mailbox files of
the Becky! mail client installed under Wine, which sends it on its next run.")
# The Qt and C++ libraries come from dpkg-shlibdeps; the window's Japanese text needs IPA Gothic
# (the emoji fonts are built in).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils") # ヘルプ → ReadMe opens the file through xdg-open
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "wine")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
