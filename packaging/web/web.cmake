# The game for the browser: its fonts and Qt's Italian texts built in (a page has
# neither), and asyncify, without which a modal dialog's exec() never returns in a
# browser. The site folder is made by packaging/web/build.sh.
set(web_link_options "SHELL:-s ASYNCIFY" -Os)
target_link_options(quorvela PRIVATE ${web_link_options})
# The game catches its own exceptions. As a library, this lands after Qt's link
# options, which turn catching off.
set(web_link_catching -sDISABLE_EXCEPTION_CATCHING=0)
target_link_libraries(quorvela PRIVATE ${web_link_catching})

set(liberation /usr/share/fonts/truetype/liberation)
set(web_fonts LiberationSerif-Bold LiberationSans-Regular LiberationSans-Bold LiberationSans-BoldItalic)
list(TRANSFORM web_fonts REPLACE "(.+)" "${liberation}/\\1.ttf" OUTPUT_VARIABLE web_font_files)
foreach(file IN LISTS web_font_files)
  if(NOT EXISTS ${file})
    message(FATAL_ERROR "${file} is missing: install Debian's fonts-liberation")
  endif()
endforeach()
qt_add_resources(quorvela "fonts" PREFIX "/fonts" BASE ${liberation} FILES ${web_font_files})
set(qt_italian /usr/share/qt6/translations/qtbase_it.qm)
if(NOT EXISTS ${qt_italian})
  message(FATAL_ERROR "${qt_italian} is missing: install Debian's qt6-translations-l10n")
endif()
qt_add_resources(quorvela "translations" PREFIX "/translations" BASE /usr/share/qt6/translations
                 FILES ${qt_italian})

# A Qt Widgets hello built the same way, to measure the game's start against.
qt_add_executable(quorvela-hello ${CMAKE_CURRENT_LIST_DIR}/hello.cpp)
target_link_libraries(quorvela-hello PRIVATE Qt6::Widgets)
target_link_options(quorvela-hello PRIVATE ${web_link_options})
target_link_libraries(quorvela-hello PRIVATE ${web_link_catching})
