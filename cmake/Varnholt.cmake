# Adds sources of one subsystem folder to the plug-in core.
function(varnholt_core_sources)
    list(TRANSFORM ARGN PREPEND "${CMAKE_CURRENT_SOURCE_DIR}/")
    target_sources(varnholt_core PRIVATE ${ARGN})
endfunction()

# One GoogleTest executable per subsystem, run by CTest.
# varnholt_add_test(NAME <name> SOURCES <files...> [LIBS <targets...>] [WITHOUT_CORE])
# WITHOUT_CORE leaves the plug-in's code out, for suites that load the built
# plug-in module the way a host does.
function(varnholt_add_test)
    cmake_parse_arguments(T "WITHOUT_CORE" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE varnholt_test_main ${T_LIBS})
    if(NOT T_WITHOUT_CORE)
        target_link_libraries(${T_NAME} PRIVATE varnholt_core)
    endif()
    # Entries are named <suite binary>.<Suite>.<Test>, so `ctest -R cell`
    # picks a subsystem.
    gtest_discover_tests(${T_NAME}
        TEST_PREFIX "${T_NAME}."
        DISCOVERY_MODE PRE_TEST
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VARNHOLT_BIN_DIR=${CMAKE_BINARY_DIR}/bin;VARNHOLT_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
        DISCOVERY_TIMEOUT 60)
endfunction()
