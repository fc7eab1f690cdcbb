# Build rules shared by the folders.
#
# Every folder is one library, and what it may use is exactly what it links.
# A library shows its headers to itself and its users as "<folder>/<Header>.h"
# through an include directory of its own that holds nothing but a link to
# its folder; a target sees the headers of what it links and no others, so
# including a header of a folder that is not linked fails to compile. After
# all folders are read, varnholt_check_includes() also refuses, with a clear
# message, includes that name such a folder or climb out with "../".

# Gives TARGET the include directory that shows its folder under the
# folder's name.
function(varnholt_expose_folder TARGET)
    get_filename_component(Folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    set(Dir ${CMAKE_BINARY_DIR}/include/${TARGET})
    file(MAKE_DIRECTORY ${Dir})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${Dir}/${Folder} SYMBOLIC)
    target_include_directories(${TARGET} PUBLIC ${Dir})
    set_target_properties(${TARGET} PROPERTIES VARNHOLT_FOLDER ${Folder})
endfunction()

# Puts TARGET's sources and the headers named like them under the include
# check; WHOLE_FOLDER adds every header of the folder (for a target that is
# its folder's only one).
function(varnholt_watch_includes TARGET)
    cmake_parse_arguments(W "WHOLE_FOLDER" "" "" ${ARGN})
    set_property(GLOBAL APPEND PROPERTY VARNHOLT_WATCHED_TARGETS ${TARGET})
    set_target_properties(${TARGET} PROPERTIES VARNHOLT_WATCH_FOLDER ${W_WHOLE_FOLDER})
endfunction()

# varnholt_library(<name> SOURCES <files...> USES <targets...>)
# One folder's static library, compiled with hidden symbols: the plug-in
# module exports nothing of it.
function(varnholt_library NAME)
    cmake_parse_arguments(L "" "" "SOURCES;USES" ${ARGN})
    add_library(${NAME} STATIC ${L_SOURCES})
    target_link_libraries(${NAME} PUBLIC ${L_USES})
    set_target_properties(${NAME} PROPERTIES
        CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
    varnholt_expose_folder(${NAME})
    varnholt_watch_includes(${NAME} WHOLE_FOLDER)
    varnholt_check_headers(${NAME})
endfunction()

# Every header of the current folder (and its subfolders) compiled alone, in
# a translation unit of its own that includes nothing else; built by the
# target check-headers, not by default. LIBS give the include paths (default:
# the library NAME, or what the executable NAME links).
function(varnholt_check_headers NAME)
    cmake_parse_arguments(H "" "" "LIBS" ${ARGN})
    if(NOT H_LIBS AND TARGET ${NAME})
        get_target_property(Type ${NAME} TYPE)
        if(Type STREQUAL "EXECUTABLE")
            get_target_property(H_LIBS ${NAME} LINK_LIBRARIES)
        else()
            set(H_LIBS ${NAME})
        endif()
    endif()
    file(GLOB_RECURSE Headers CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
        ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    if(NOT Headers)
        return()
    endif()
    set(Units)
    foreach(Header ${Headers})
        set(Unit ${CMAKE_BINARY_DIR}/header-check/${NAME}/${Header}.cpp)
        file(CONFIGURE OUTPUT ${Unit}
            CONTENT "#include \"${CMAKE_CURRENT_SOURCE_DIR}/${Header}\"\n")
        list(APPEND Units ${Unit})
    endforeach()
    add_library(${NAME}_headers OBJECT EXCLUDE_FROM_ALL ${Units})
    target_link_libraries(${NAME}_headers PRIVATE ${H_LIBS})
    set_target_properties(${NAME}_headers PROPERTIES AUTOMOC OFF)
    if(NOT TARGET check-headers)
        add_custom_target(check-headers)
    endif()
    add_dependencies(check-headers ${NAME}_headers)
endfunction()

# The folders TARGET may include from: those of the targets it links,
# directly or through them.
function(varnholt_allowed_folders TARGET OUT)
    set(Seen)
    set(Folders)
    set(Pending ${TARGET})
    list(LENGTH Pending Left)
    while(Left GREATER 0)
        list(POP_FRONT Pending Current)
        list(LENGTH Pending Left)
        if(NOT TARGET "${Current}" OR "${Current}" IN_LIST Seen)
            continue()
        endif()
        list(APPEND Seen ${Current})
        get_target_property(Folder ${Current} VARNHOLT_FOLDER)
        if(Folder)
            list(APPEND Folders ${Folder})
        endif()
        foreach(Property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
            get_target_property(Links ${Current} ${Property})
            if(Links)
                string(REGEX REPLACE "\\$<LINK_ONLY:([^>]*)>" "\\1" Links "${Links}")
                list(APPEND Pending ${Links})
            endif()
        endforeach()
        list(LENGTH Pending Left)
    endwhile()
    set(${OUT} ${Folders} PARENT_SCOPE)
endfunction()

# Stops the configuration when a watched target's file includes a header of
# a folder the target does not link, or reaches out of its folder with
# "../". Run once, after every folder has been read.
function(varnholt_check_includes)
    get_property(Targets GLOBAL PROPERTY VARNHOLT_WATCHED_TARGETS)
    set(Problems)
    foreach(Target ${Targets})
        varnholt_allowed_folders(${Target} Allowed)
        get_target_property(Dir ${Target} SOURCE_DIR)
        get_target_property(Sources ${Target} SOURCES)
        get_target_property(WholeFolder ${Target} VARNHOLT_WATCH_FOLDER)
        set(Files)
        if(WholeFolder)
            file(GLOB_RECURSE Files ${Dir}/*.h)
        endif()
        foreach(Source ${Sources})
            if(Source MATCHES "\\.(cpp|h)$" AND NOT Source MATCHES "^\\$<")
                get_filename_component(Source ${Source} ABSOLUTE BASE_DIR ${Dir})
                string(REGEX REPLACE "\\.cpp$" ".h" Companion ${Source})
                list(APPEND Files ${Source} ${Companion})
            endif()
        endforeach()
        list(REMOVE_DUPLICATES Files)
        foreach(File ${Files})
            if(NOT EXISTS ${File})
                continue()
            endif()
            file(STRINGS ${File} Lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
            foreach(Line ${Lines})
                if(Line MATCHES "\"\\.\\./")
                    list(APPEND Problems "${File}: ${Line} (no \"../\": link the folder)")
                elseif(Line MATCHES "\"([A-Za-z0-9_-]+)/" AND NOT CMAKE_MATCH_1 IN_LIST Allowed)
                    list(APPEND Problems "${File}: ${Line} (${Target} does not link ${CMAKE_MATCH_1})")
                endif()
            endforeach()
        endforeach()
    endforeach()
    if(Problems)
        list(JOIN Problems "\n  " Text)
        message(FATAL_ERROR "Includes outside what the target links:\n  ${Text}")
    endif()
endfunction()

# varnholt_add_test(NAME <name> SOURCES <files...> LIBS <targets...> [QT_ONLY])
# One GoogleTest executable per subsystem, run by CTest, linking only what
# LIBS names. QT_ONLY starts the suite with a plain QApplication, without the
# platform's application and screen objects, for subsystems that do not use
# the platform at all.
function(varnholt_add_test)
    cmake_parse_arguments(T "QT_ONLY" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    if(T_QT_ONLY)
        target_link_libraries(${T_NAME} PRIVATE varnholt_test_qt_main ${T_LIBS})
    else()
        target_link_libraries(${T_NAME} PRIVATE varnholt_test_main ${T_LIBS})
    endif()
    varnholt_watch_includes(${T_NAME})
    # Entries are named <suite binary>.<Suite>.<Test>, so `ctest -R cell`
    # picks a subsystem.
    gtest_discover_tests(${T_NAME}
        TEST_PREFIX "${T_NAME}."
        DISCOVERY_MODE PRE_TEST
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VARNHOLT_BIN_DIR=${CMAKE_BINARY_DIR}/bin;VARNHOLT_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
        DISCOVERY_TIMEOUT 60)
endfunction()
