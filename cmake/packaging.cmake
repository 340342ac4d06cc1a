# The zip a Windows user downloads: Brisa.exe, README.txt and LICENSE.txt, flat. Explorer's
# "Extract All" already makes a folder named after the zip; a top folder inside would nest a
# second one. Texts get .txt and CRLF line ends so a double-click opens them in any Notepad.
# README.txt is res/README.txt, written for users (README.md is for developers), with the UTF-8
# mark that tells every Notepad how to read it.
# Run cpack after building the Brisa target; it builds nothing itself.

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(brisa_package_arch win64)
else()
    set(brisa_package_arch win32)
endif()

set(brisa_package_texts ${CMAKE_BINARY_DIR}/package-texts)
string(ASCII 239 187 191 utf8_mark)
foreach(entry "res/README.txt;README.txt;${utf8_mark}" "LICENSE;LICENSE.txt;")
    list(GET entry 0 source)
    list(GET entry 1 target)
    list(GET entry 2 mark)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${source})
    file(READ ${PROJECT_SOURCE_DIR}/${source} text)
    string(REPLACE "\r\n" "\n" text "${text}")
    string(REPLACE "\n" "\r\n" text "${mark}${text}")
    set(old_text "")
    if(EXISTS ${brisa_package_texts}/${target})
        file(READ ${brisa_package_texts}/${target} old_text)
    endif()
    if(NOT old_text STREQUAL text)
        file(WRITE ${brisa_package_texts}/${target} "${text}")
    endif()
endforeach()

# Only the program and its texts: the test programs and GoogleTest have no install rules in
# this component, and cpack installs no other.
install(TARGETS Brisa RUNTIME DESTINATION . COMPONENT brisa)
install(FILES ${brisa_package_texts}/README.txt ${brisa_package_texts}/LICENSE.txt DESTINATION .
        COMPONENT brisa)
# cpack would otherwise build every target first, the Windows tests included.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Brisa)
set(CPACK_PACKAGE_VENDOR "The Brisa authors")
set(CPACK_PACKAGE_FILE_NAME Brisa-${PROJECT_VERSION}-${brisa_package_arch})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};Brisa;brisa;/")
include(CPack)
