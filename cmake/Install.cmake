# What `cmake --install` puts where: the two programs, and what a Linux
# desktop needs to know them (desktop entry, icons, MIME type, AppStream
# metainfo, thumbnailer) with their man pages. Paths follow GNUInstallDirs, so
# CMAKE_INSTALL_PREFIX and DESTDIR decide the rest.
include(GNUInstallDirs)
# Debian keeps a package's documents under its package name (GNUInstallDirs'
# DOCDIR, already set by Qt's project setup, names the CMake project).
set(FSB_INSTALL_DOCDIR "${CMAKE_INSTALL_DATAROOTDIR}/doc/fabulor-skin-builder")

# The application's id names its desktop entry, icon and metainfo alike.
set(FSB_APP_ID "org.fabulor.SkinBuilder")
# Where the metainfo says the project lives; its screenshots are under docs/
# there. A packager sets the real address.
set(FSB_HOMEPAGE_URL "https://fabulor.example.org/skinbuilder"
    CACHE STRING "Project home page; AppStream screenshots are taken from its docs/")

set(fsb_data ${CMAKE_SOURCE_DIR}/data)
set(fsb_data_out ${CMAKE_BINARY_DIR}/data)

install(TARGETS skinbuilder skintool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A stripped install (`cmake --install --strip`, and the package CPack makes)
# strips the programs as Debian's own package tools do: beyond the symbols
# CMake's strip removes, the .comment section (the compiler's version) and a
# .note section, which nothing reads at run time.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    foreach(fsb_program skinbuilder skintool)
      set(fsb_file \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${fsb_program}\")
      execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
                              --strip-unneeded \"\${fsb_file}\" RESULT_VARIABLE fsb_result)
      if(NOT fsb_result EQUAL 0)
        message(FATAL_ERROR \"strip failed on \${fsb_file}\")
      endif()
    endforeach()
  endif()
")

install(FILES ${fsb_data}/${FSB_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${fsb_data}/${FSB_APP_ID}.metainfo.xml.in
               ${fsb_data_out}/${FSB_APP_ID}.metainfo.xml @ONLY)
install(FILES ${fsb_data_out}/${FSB_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${fsb_data}/${FSB_APP_ID}.mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME ${FSB_APP_ID}.xml)
install(FILES ${fsb_data}/skinbuilder.thumbnailer
        DESTINATION ${CMAKE_INSTALL_DATADIR}/thumbnailers)

# Man pages are installed compressed, as Debian's policy asks (gzip -9n: no
# name or time stamp inside, so the package builds the same each time).
find_program(FSB_GZIP gzip REQUIRED)
# Compresses FILE (made at configure time) to FILE.gz at build time.
function(fsb_gzip file)
  get_filename_component(name ${file} NAME)
  add_custom_command(OUTPUT ${file}.gz
      COMMAND ${FSB_GZIP} -9nkf ${file}
      DEPENDS ${file}
      COMMENT "Compressing ${name}"
      VERBATIM)
endfunction()
set(fsb_man_pages)
foreach(page skinbuilder skintool)
  configure_file(${fsb_data}/man/${page}.1.in ${fsb_data_out}/man/${page}.1 @ONLY)
  fsb_gzip(${fsb_data_out}/man/${page}.1)
  list(APPEND fsb_man_pages ${fsb_data_out}/man/${page}.1.gz)
  install(FILES ${fsb_data_out}/man/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
add_custom_target(fsb_man_pages ALL DEPENDS ${fsb_man_pages})

# The icon is drawn once, as SVG; the fixed sizes are rendered from it at
# build time rather than committed, so they can never drift from the drawing.
set(fsb_icon_svg ${fsb_data}/icons/${FSB_APP_ID}.svg)
set(FSB_ICON_SIZES 16 22 24 32 48 64 128 256)
install(FILES ${fsb_icon_svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
find_program(FSB_RSVG_CONVERT rsvg-convert)
if(FSB_RSVG_CONVERT)
  set(fsb_icon_pngs)
  foreach(size IN LISTS FSB_ICON_SIZES)
    set(png ${fsb_data_out}/icons/${size}x${size}/${FSB_APP_ID}.png)
    add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${fsb_data_out}/icons/${size}x${size}
        COMMAND ${FSB_RSVG_CONVERT} --width ${size} --height ${size} --keep-aspect-ratio
                --output ${png} ${fsb_icon_svg}
        DEPENDS ${fsb_icon_svg}
        COMMENT "Rendering the ${size} px application icon"
        VERBATIM)
    list(APPEND fsb_icon_pngs ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_target(fsb_icons ALL DEPENDS ${fsb_icon_pngs})
else()
  message(WARNING "rsvg-convert (Debian package librsvg2-bin) was not found: only the SVG "
                  "application icon is installed, not its fixed-size PNGs.")
endif()

# The licence travels with the programs, once, under the name Debian gives a
# package's licence file.
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION ${FSB_INSTALL_DOCDIR} RENAME copyright)
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${FSB_INSTALL_DOCDIR})

# Installed straight into a live prefix (no DESTDIR: not a package being
# staged), the desktop's caches are refreshed so .ski files are known at once;
# a package's own triggers do this when it is installed.
install(CODE [[
  if("$ENV{DESTDIR}" STREQUAL "")
    find_program(fsb_update_mime update-mime-database)
    find_program(fsb_update_desktop update-desktop-database)
    find_program(fsb_update_icons gtk-update-icon-cache)
    if(fsb_update_mime)
      execute_process(COMMAND ${fsb_update_mime} "${CMAKE_INSTALL_PREFIX}/share/mime")
    endif()
    if(fsb_update_desktop)
      execute_process(COMMAND ${fsb_update_desktop} -q "${CMAKE_INSTALL_PREFIX}/share/applications")
    endif()
    if(fsb_update_icons)
      execute_process(COMMAND ${fsb_update_icons} -q -t "${CMAKE_INSTALL_PREFIX}/share/icons/hicolor")
    endif()
  endif()
]])
