# The Windows program: no console window, the icon in the .exe, and a qt.conf
# that makes Qt look for its plugins and translations beside the program.
set_target_properties(quorvela PROPERTIES WIN32_EXECUTABLE ON)

find_program(IM_CONVERT convert REQUIRED)
set(ico_dir ${CMAKE_CURRENT_BINARY_DIR}/ico)
set(ico_pngs)
foreach(size 16 24 32 48 256)
  list(APPEND ico_pngs ${ico_dir}/${size}.png)
  add_custom_command(OUTPUT ${ico_dir}/${size}.png
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ico_dir}
    COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${ico_dir}/${size}.png
            ${PROJECT_SOURCE_DIR}/ui/pictures/quorvela.svg
    DEPENDS ${PROJECT_SOURCE_DIR}/ui/pictures/quorvela.svg VERBATIM)
endforeach()
add_custom_command(OUTPUT ${ico_dir}/quorvela.ico
  COMMAND ${IM_CONVERT} ${ico_pngs} ${ico_dir}/quorvela.ico
  DEPENDS ${ico_pngs} VERBATIM)
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/quorvela.rc "IDI_ICON1 ICON \"ico/quorvela.ico\"\n")
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/quorvela.rc PROPERTIES
  OBJECT_DEPENDS ${ico_dir}/quorvela.ico)
target_sources(quorvela PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/quorvela.rc)

file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/qt.conf "[Paths]\nPrefix = .\nPlugins = .\nTranslations = translations\n")

# The record's folder and files as the installers leave them, run by the MSI and
# the NSIS installer: Win32 alone, no console window.
add_executable(quorvela-record-setup ${PROJECT_SOURCE_DIR}/privileged/recordsetup_win.cpp)
target_include_directories(quorvela-record-setup PRIVATE ${PROJECT_SOURCE_DIR})
set_target_properties(quorvela-record-setup PROPERTIES WIN32_EXECUTABLE ON)
target_link_options(quorvela-record-setup PRIVATE -static-libgcc -static-libstdc++)
target_link_libraries(quorvela-record-setup PRIVATE ntdll)
