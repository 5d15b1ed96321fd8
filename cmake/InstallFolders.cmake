# Where the installed program's files go. The program finds its data and its helper programs
# relative to its own folder, so those two relative paths are handed to it from here.

# The presets install under /usr, as the Debian package does; the autostart entry then goes
# under /etc.
include(GNUInstallDirs)

set(VEXLO_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/vexlo)      # skins, language files, font
set(VEXLO_INSTALL_HELPERDIR ${CMAKE_INSTALL_LIBEXECDIR}/vexlo) # the companion, the virtual mouse
set(VEXLO_INSTALL_UDEVDIR lib/udev/rules.d)
foreach(folder DATADIR HELPERDIR UDEVDIR)
  set(VEXLO_INSTALL_FULL_${folder} ${CMAKE_INSTALL_PREFIX}/${VEXLO_INSTALL_${folder}})
endforeach()

file(RELATIVE_PATH VEXLO_DATA_FROM_PROGRAM ${CMAKE_INSTALL_FULL_BINDIR} ${VEXLO_INSTALL_FULL_DATADIR})
file(RELATIVE_PATH VEXLO_HELPERS_FROM_PROGRAM ${CMAKE_INSTALL_FULL_BINDIR}
     ${VEXLO_INSTALL_FULL_HELPERDIR})
