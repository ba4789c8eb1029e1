# vocabra_install_program_link(<name>): installs <bindir>/<name> as a relative symbolic link to the
# program of that name in the program folder (<libdir>/vocabra), which finds its locale/ beside its
# real file. Relative, so that a staged or moved tree (a package) keeps working.
include(GNUInstallDirs)
function(vocabra_install_program_link name)
    install(CODE "
        file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
        file(CREATE_LINK \"../${CMAKE_INSTALL_LIBDIR}/vocabra/${name}\"
             \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${name}\" SYMBOLIC)")
endfunction()
