# The installed program folder, <libdir>/vocabra: the programs, the answer window library beside
# them, and their locale/ and icons. Every install rule of the native build names it through
# VOCABRA_PROGRAM_FOLDER, so that a libdir of the distribution's (lib/x86_64-linux-gnu) moves it whole.
include(GNUInstallDirs)
set(VOCABRA_PROGRAM_FOLDER "${CMAKE_INSTALL_LIBDIR}/vocabra")

# vocabra_install_program_link(<name>): installs <bindir>/<name> as a relative symbolic link to the
# program of that name in the program folder, which finds its locale/ beside its real file.
# Relative, so that a staged or moved tree (a package) keeps working.
function(vocabra_install_program_link name)
    install(CODE "
        file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
        file(CREATE_LINK \"../${VOCABRA_PROGRAM_FOLDER}/${name}\"
             \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${name}\" SYMBOLIC)")
endfunction()
