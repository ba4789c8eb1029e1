# Run by CPack once the files are staged (CPACK_PRE_BUILD_SCRIPTS): the package's Depends and
# Recommends from its own binaries, through dpkg-shlibdeps. What the program and the lookup tool
# link against is required. The answer window library is loaded at run time, not linked, and,
# when it cannot be (no WebKitGTK), answers open in the desktop's browser: what it alone needs is
# recommended. dpkg-shlibdeps keeps a package named in both fields in Depends only.
set(stage "${CPACK_TEMPORARY_DIRECTORY}")
set(folder "${stage}${CPACK_PACKAGING_INSTALL_PREFIX}/${CPACK_VOCABRA_PROGRAM_FOLDER}")
set(optional_library "libvocabra-answer-window.so")

file(GLOB_RECURSE staged LIST_DIRECTORIES false "${stage}/*")
set(required)
foreach(path IN LISTS staged)
    if(IS_SYMLINK "${path}")
        continue()
    endif()
    file(READ "${path}" magic LIMIT 4 HEX)
    if(magic STREQUAL "7f454c46" AND NOT path STREQUAL "${folder}/${optional_library}")
        list(APPEND required "-e${path}")
    endif()
endforeach()
if(NOT required OR NOT EXISTS "${folder}/${optional_library}")
    message(FATAL_ERROR "Dependencies.cmake: no program or no ${optional_library} staged in ${folder}")
endif()

# dpkg-shlibdeps reads debian/control and finds the package's root by its DEBIAN folder: both only
# for its run, as CPack's own SHLIBDEPS does.
file(WRITE "${stage}/debian/control" "Source: vocabra\n\nPackage: ${CPACK_PACKAGE_NAME}\nArchitecture: any\n")
file(MAKE_DIRECTORY "${stage}/DEBIAN")
execute_process(
    COMMAND dpkg-shlibdeps -O ${required} -dRecommends "-e${folder}/${optional_library}"
    WORKING_DIRECTORY "${stage}"
    OUTPUT_VARIABLE substitutions ERROR_VARIABLE errors RESULT_VARIABLE result)
file(REMOVE_RECURSE "${stage}/debian" "${stage}/DEBIAN")
if(NOT result EQUAL 0)
    message(FATAL_ERROR "dpkg-shlibdeps failed: ${errors}")
endif()

string(REGEX MATCH "shlibs:Depends=([^\n]*)" found "${substitutions}")
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${CMAKE_MATCH_1}")
string(REGEX MATCH "shlibs:Recommends=([^\n]*)" found "${substitutions}")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "${CMAKE_MATCH_1}")
if(NOT CPACK_DEBIAN_PACKAGE_DEPENDS OR NOT CPACK_DEBIAN_PACKAGE_RECOMMENDS)
    message(FATAL_ERROR "dpkg-shlibdeps gave no Depends or no Recommends: ${substitutions}")
endif()
message(STATUS "Depends: ${CPACK_DEBIAN_PACKAGE_DEPENDS}")
message(STATUS "Recommends: ${CPACK_DEBIAN_PACKAGE_RECOMMENDS}")
