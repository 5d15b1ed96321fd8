# What is installed, and the Debian package made of it (cpack --preset release).

set(VEXLO_APP_ID org.vexlo.Vexlo)  # desktop entry, icon and metadata name
set(VEXLO_MAINTAINER "Vexlo developers <vexlo@example.org>")
set(VEXLO_COPYRIGHT "2026 Vexlo developers")
set(VEXLO_LICENSE LicenseRef-proprietary)

set(assets ${CMAKE_SOURCE_DIR}/assets)
set(staging ${CMAKE_BINARY_DIR}/package)  # files made for installing only

# The programs.
install(TARGETS vexlo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS Ruvik vexlo-sim RUNTIME DESTINATION ${VEXLO_INSTALL_HELPERDIR})

# What the program loads: the language files, the drawn skin and the font, which stays in the font
# package and is reached through a link.
install(FILES ${assets}/Lang.ini ${assets}/Lang_En.ini DESTINATION ${VEXLO_INSTALL_DATADIR})
install(DIRECTORY ${VEXLO_PROGRAM_FOLDER}/Skins DESTINATION ${VEXLO_INSTALL_DATADIR}
        FILES_MATCHING PATTERN "*.ini" PATTERN "*.png")
file(RELATIVE_PATH font_link ${VEXLO_INSTALL_FULL_DATADIR} ${VEXLO_FONT_SOURCE})
file(MAKE_DIRECTORY ${staging})
file(CREATE_LINK ${font_link} ${staging}/OpenSans-Regular.ttf SYMBOLIC)
install(FILES ${staging}/OpenSans-Regular.ttf DESTINATION ${VEXLO_INSTALL_DATADIR})

# Access to the mouse for the user at the seat.
if(EXISTS ${assets}/udev/70-vexlo.rules)
  install(FILES ${assets}/udev/70-vexlo.rules DESTINATION ${VEXLO_INSTALL_UDEVDIR})
endif()

# The desktop: menu entry, start at login, software-centre metadata and the icon, drawn by the
# skin generator in the sizes of the icon theme.
set(autostart ${CMAKE_INSTALL_FULL_SYSCONFDIR}/xdg/autostart)
configure_file(${assets}/desktop/vexlo.desktop.in ${staging}/${VEXLO_APP_ID}.desktop @ONLY)
configure_file(${assets}/desktop/vexlo-autostart.desktop.in
               ${staging}/autostart/${VEXLO_APP_ID}.desktop @ONLY)
configure_file(${assets}/desktop/vexlo.metainfo.xml.in ${staging}/${VEXLO_APP_ID}.metainfo.xml @ONLY)
install(FILES ${staging}/${VEXLO_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${staging}/autostart/${VEXLO_APP_ID}.desktop DESTINATION ${autostart})
install(FILES ${staging}/${VEXLO_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(icons)
foreach(size ${VEXLO_ICON_SIZES})
  list(APPEND icons ${staging}/icons/${size}x${size}/apps/${VEXLO_APP_ID}.png)
endforeach()
add_custom_command(OUTPUT ${icons}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
          TSAN_OPTIONS=report_bugs=0
          $<TARGET_FILE:vexlo-skingen> --icons ${staging}/icons ${VEXLO_APP_ID}
  DEPENDS vexlo-skingen
  COMMENT "Drawing the program icon for the icon theme")
install(DIRECTORY ${staging}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

# The man page and the package's documents, compressed as Debian has them.
configure_file(${assets}/man/vexlo.1.in ${staging}/vexlo.1 @ONLY)
configure_file(${assets}/package/copyright.in ${staging}/copyright @ONLY)
execute_process(COMMAND date -u -R -d ${VEXLO_RELEASE_DATE}
                OUTPUT_VARIABLE VEXLO_RELEASE_TIME OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)
configure_file(${assets}/package/changelog.in ${staging}/changelog @ONLY)
add_custom_command(OUTPUT ${staging}/vexlo.1.gz ${staging}/changelog.gz
  COMMAND gzip -9nkf ${staging}/vexlo.1 ${staging}/changelog
  DEPENDS ${staging}/vexlo.1 ${staging}/changelog)
install(FILES ${staging}/vexlo.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${staging}/copyright ${staging}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vexlo)

add_custom_target(vexlo_package_files ALL DEPENDS ${icons} ${staging}/vexlo.1.gz ${staging}/changelog.gz)

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vexlo)
set(CPACK_PACKAGE_CONTACT ${VEXLO_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration utility of the Halvec QXA7702 gaming mice")
set(CPACK_PACKAGE_DESCRIPTION
    "Sets up the USB gaming mice of the Halvec QXA7702 family (093A:2533):
what each of the seven buttons does (clicks, media keys, key combinations,
programs, rapid fire, macros), four sensitivity levels with their colours,
the report rate, the lighting, recorded macros, and profiles that follow
the program in the foreground. It runs behind an icon in the notification
area and applies every change at once.")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-open-sans)
# RealtimeKit gives the threads that carry button presses and keep macro pauses real-time
# scheduling on a desktop where the user may not take it; without it they run at ordinary priority.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS rtkit)
# The autostart entry lies in /etc: a file the administrator may change, kept on upgrades.
file(WRITE ${staging}/conffiles "${autostart}/${VEXLO_APP_ID}.desktop\n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${staging}/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
