# SPDX-License-Identifier: GPL-3.0-or-later
# The flags Debian builds its own packages with, as dpkg-buildflags gives
# them, every hardening feature on: fortified C library calls
# (-D_FORTIFY_SOURCE=2), strong stack protection, and a global offset table
# bound at start and then read-only (-z relro -z now). Debian's -g and -O2 are
# left out: the package's programs are stripped, and the build type chooses
# how hard the compiler optimises. Asked from the source tree, so that its
# path is mapped out of the programs and any checkout builds the same bytes.
function(veltrano_debian_flags variable flag)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all "DEB_${flag}_MAINT_STRIP=-g -O2"
                dpkg-buildflags --get ${flag}
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        OUTPUT_VARIABLE flags
        OUTPUT_STRIP_TRAILING_WHITESPACE
        COMMAND_ERROR_IS_FATAL ANY)
    set(${variable} "${flags}" PARENT_SCOPE)
endfunction()

veltrano_debian_flags(debian_cppflags CPPFLAGS)
veltrano_debian_flags(debian_cxxflags CXXFLAGS)
veltrano_debian_flags(debian_ldflags LDFLAGS)
string(APPEND CMAKE_CXX_FLAGS " ${debian_cppflags} ${debian_cxxflags}")
string(APPEND CMAKE_EXE_LINKER_FLAGS " ${debian_ldflags}")
# The sounds' module is hardened as the programs are.
string(APPEND CMAKE_MODULE_LINKER_FLAGS " ${debian_ldflags}")
message(STATUS "Debian's build flags: ${debian_cppflags} ${debian_cxxflags} ${debian_ldflags}")
