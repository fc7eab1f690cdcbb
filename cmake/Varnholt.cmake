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
# folder's name ("cell"), or, for a library folder inside another library's
# folder, under both names ("cell/view").
function(varnholt_expose_folder TARGET)
    get_filename_component(Folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    get_filename_component(ParentDir ${CMAKE_CURRENT_SOURCE_DIR} DIRECTORY)
    get_property(ParentFolder DIRECTORY ${ParentDir} PROPERTY VARNHOLT_LIBRARY_FOLDER)
    if(ParentFolder)
        set(Folder ${ParentFolder}/${Folder})
    endif()
    set_property(DIRECTORY PROPERTY VARNHOLT_LIBRARY_FOLDER ${Folder})
    set(Dir ${CMAKE_BINARY_DIR}/include/${TARGET})
    get_filename_component(LinkParent ${Dir}/${Folder} DIRECTORY)
    file(MAKE_DIRECTORY ${LinkParent})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${Dir}/${Folder} SYMBOLIC)
    target_include_directories(${TARGET} PUBLIC ${Dir})
    set_target_properties(${TARGET} PROPERTIES VARNHOLT_FOLDER ${Folder})
    set_property(GLOBAL APPEND PROPERTY VARNHOLT_FOLDERS ${Folder})
endfunction()

# The headers of the folder DIR and its subfolders, less those of a
# subfolder with a CMakeLists.txt of its own: such a subfolder is a library
# of its own ("cell/view" inside "cell").
function(varnholt_folder_headers DIR OUT)
    file(GLOB_RECURSE Headers CONFIGURE_DEPENDS ${DIR}/*.h)
    file(GLOB_RECURSE Lists ${DIR}/*/CMakeLists.txt)
    foreach(List ${Lists})
        get_filename_component(Nested ${List} DIRECTORY)
        list(FILTER Headers EXCLUDE REGEX "^${Nested}/")
    endforeach()
    set(${OUT} ${Headers} PARENT_SCOPE)
endfunction()

# Puts TARGET's sources and the headers named like them under the include
# check; WHOLE_FOLDER adds every header of the folder (for a target that is
# its folder's only one). NO_WIDGETS: the target must not use Qt Widgets or
# Qt Print Support, neither by linking them (directly or through what it
# links) nor by including one of their headers.
function(varnholt_watch_includes TARGET)
    cmake_parse_arguments(W "WHOLE_FOLDER;NO_WIDGETS" "" "" ${ARGN})
    set_property(GLOBAL APPEND PROPERTY VARNHOLT_WATCHED_TARGETS ${TARGET})
    set_target_properties(${TARGET} PROPERTIES VARNHOLT_WATCH_FOLDER ${W_WHOLE_FOLDER}
                                               VARNHOLT_NO_WIDGETS ${W_NO_WIDGETS})
endfunction()

# varnholt_library(<name> SOURCES <files...> USES <targets...> [NO_WIDGETS])
# One folder's static library, compiled with hidden symbols: the plug-in
# module exports nothing of it. NO_WIDGETS: see varnholt_watch_includes.
function(varnholt_library NAME)
    cmake_parse_arguments(L "NO_WIDGETS" "" "SOURCES;USES" ${ARGN})
    set(NoWidgets)
    if(L_NO_WIDGETS)
        set(NoWidgets NO_WIDGETS)
    endif()
    add_library(${NAME} STATIC ${L_SOURCES})
    target_link_libraries(${NAME} PUBLIC ${L_USES})
    set_target_properties(${NAME} PROPERTIES
        CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
    varnholt_expose_folder(${NAME})
    varnholt_watch_includes(${NAME} WHOLE_FOLDER ${NoWidgets})
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
    varnholt_folder_headers(${CMAKE_CURRENT_SOURCE_DIR} Absolute)
    set(Headers)
    foreach(Header ${Absolute})
        file(RELATIVE_PATH Header ${CMAKE_CURRENT_SOURCE_DIR} ${Header})
        list(APPEND Headers ${Header})
    endforeach()
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

# What TARGET links, directly or through what it links (TARGETS, itself
# included), and the folders it may therefore include from (FOLDERS).
function(varnholt_link_closure TARGET TARGETS FOLDERS)
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
    set(${TARGETS} ${Seen} PARENT_SCOPE)
    set(${FOLDERS} ${Folders} PARENT_SCOPE)
endfunction()

# The library folder an include such as "report/tables/DetailQuery.h"
# names: the longest folder of a library that begins its path, else its
# first part.
function(varnholt_included_folder INCLUDE OUT)
    get_property(Known GLOBAL PROPERTY VARNHOLT_FOLDERS)
    string(REGEX MATCH "^[A-Za-z0-9_-]+" Found "${INCLUDE}")
    string(LENGTH "${Found}" FoundLength)
    foreach(Folder ${Known})
        string(LENGTH "${Folder}" Length)
        string(FIND "${INCLUDE}" "${Folder}/" At)
        if(At EQUAL 0 AND Length GREATER FoundLength)
            set(Found ${Folder})
            set(FoundLength ${Length})
        endif()
    endforeach()
    set(${OUT} ${Found} PARENT_SCOPE)
endfunction()

# The include folders of the Qt modules a NO_WIDGETS target must not use.
function(varnholt_widget_include_dirs OUT)
    set(Dirs)
    foreach(Module Widgets PrintSupport)
        get_target_property(ModuleDirs Qt6::${Module} INTERFACE_INCLUDE_DIRECTORIES)
        list(FILTER ModuleDirs INCLUDE REGEX "/Qt${Module}$")
        list(APPEND Dirs ${ModuleDirs})
    endforeach()
    set(${OUT} ${Dirs} PARENT_SCOPE)
endfunction()

# The problems of one watched file: an include of a folder the target does
# not link, one that climbs out with "../", and for a NO_WIDGETS target a
# Qt Widgets or Print Support header.
function(varnholt_file_problems FILE TARGET ALLOWED NO_WIDGETS OUT)
    set(Problems)
    file(STRINGS ${FILE} Lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    varnholt_widget_include_dirs(WidgetDirs)
    foreach(Line ${Lines})
        if(Line MATCHES "\"\\.\\./")
            list(APPEND Problems "${FILE}: ${Line} (no \"../\": link the folder)")
        elseif(Line MATCHES "\"([A-Za-z0-9_/-]+)/[^/\"]+\"")
            varnholt_included_folder("${CMAKE_MATCH_1}/x" Folder)
            if(NOT Folder IN_LIST ALLOWED)
                list(APPEND Problems "${FILE}: ${Line} (${TARGET} does not link ${Folder})")
            endif()
        elseif(NO_WIDGETS AND Line MATCHES "<([^>]+)>")
            set(Header ${CMAKE_MATCH_1})
            set(Widget FALSE)
            if(Header MATCHES "^Qt(Widgets|PrintSupport)/")
                set(Widget TRUE)
            endif()
            foreach(WidgetDir ${WidgetDirs})
                if(EXISTS ${WidgetDir}/${Header})
                    set(Widget TRUE)
                endif()
            endforeach()
            if(Widget)
                list(APPEND Problems "${FILE}: ${Line} (${TARGET} is to run without Qt Widgets)")
            endif()
        endif()
    endforeach()
    set(${OUT} ${Problems} PARENT_SCOPE)
endfunction()

# The files of a watched target: its sources with the headers named like
# them, and every header of its folder when it watches the whole folder.
function(varnholt_watched_files TARGET OUT)
    get_target_property(Dir ${TARGET} SOURCE_DIR)
    get_target_property(Sources ${TARGET} SOURCES)
    get_target_property(WholeFolder ${TARGET} VARNHOLT_WATCH_FOLDER)
    set(Files)
    if(WholeFolder)
        varnholt_folder_headers(${Dir} Files)
    endif()
    foreach(Source ${Sources})
        if(Source MATCHES "\\.(cpp|h)$" AND NOT Source MATCHES "^\\$<")
            get_filename_component(Source ${Source} ABSOLUTE BASE_DIR ${Dir})
            string(REGEX REPLACE "\\.cpp$" ".h" Companion ${Source})
            list(APPEND Files ${Source} ${Companion})
        endif()
    endforeach()
    list(REMOVE_DUPLICATES Files)
    set(${OUT} ${Files} PARENT_SCOPE)
endfunction()

# Stops the configuration when a watched target's file includes a header of
# a folder the target does not link, or reaches out of its folder with
# "../", or when a NO_WIDGETS target links or includes Qt Widgets or Qt
# Print Support. Run once, after every folder has been read.
function(varnholt_check_includes)
    get_property(Targets GLOBAL PROPERTY VARNHOLT_WATCHED_TARGETS)
    set(Problems)
    foreach(Target ${Targets})
        varnholt_link_closure(${Target} Linked Allowed)
        get_target_property(NoWidgets ${Target} VARNHOLT_NO_WIDGETS)
        if(NoWidgets)
            foreach(Module Qt6::Widgets Qt6::PrintSupport)
                if(Module IN_LIST Linked)
                    list(APPEND Problems "${Target} links ${Module} (it is to run without Qt Widgets)")
                endif()
            endforeach()
        endif()
        varnholt_watched_files(${Target} Files)
        foreach(File ${Files})
            if(EXISTS ${File})
                varnholt_file_problems(${File} ${Target} "${Allowed}" "${NoWidgets}" FileProblems)
                list(APPEND Problems ${FileProblems})
            endif()
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
