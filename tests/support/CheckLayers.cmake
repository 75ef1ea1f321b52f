# The layers of the source tree, checked on every include: fails, naming each offending line,
# when an include runs up the layers. SOURCE_DIR is a tree laid out as src/ (a test plants
# offences in a copy of that layout); CORE_FOLDERS the core folders from the bottom up
# (separated by commas), as the README's table orders them.
#
#   a core folder     includes only itself and the core folders below it, never a gui/ folder,
#                     app/ or cli/, and no Qt Widgets, Qt Gui or Qt Network header;
#   <folder>/gui/     any core folder, and the gui/ folders of its own folder and those below;
#   app/              anything but cli/;
#   cli/              the core folders and itself only.
cmake_minimum_required(VERSION 3.25)
string(REPLACE "," ";" layers "${CORE_FOLDERS}")
set(window_headers "QtWidgets|QtGui|QWidget|QMainWindow|QDialog|QLabel|QPushButton|QComboBox|\
QLineEdit|QCheckBox|QTableView|QMessageBox|QFileDialog|QApplication|QGuiApplication|\
QDesktopServices|QFont|QPainter|QColor|QtNetwork|QLocalServer|QLocalSocket")

file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
set(offenders "")
foreach(source IN LISTS sources)
    string(REGEX MATCH "^[^/]*" folder "${source}")
    set(gui FALSE)
    if(source MATCHES "^[^/]*/gui/")
        set(gui TRUE)
    endif()
    list(FIND layers "${folder}" level)
    if(level LESS 0 AND NOT folder STREQUAL "app" AND NOT folder STREQUAL "cli")
        continue()
    endif()
    file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "^#include[ \t]*[\"<]")
    foreach(line IN LISTS includes)
        set(wrong "")
        if(line MATCHES "^#include[ \t]*<(${window_headers})")
            if(level GREATER_EQUAL 0 AND NOT gui)
                set(wrong "window header in the core")
            endif()
        elseif(line MATCHES "^#include[ \t]*\"([^\"]*)\"")
            set(header "${CMAKE_MATCH_1}")
            string(REGEX MATCH "^[^/]*" target "${header}")
            set(target_gui FALSE)
            if(header MATCHES "^[^/]*/gui/")
                set(target_gui TRUE)
            endif()
            list(FIND layers "${target}" target_level)
            if(folder STREQUAL "app")
                if(target STREQUAL "cli")
                    set(wrong "the window includes the command line")
                endif()
            elseif(folder STREQUAL "cli")
                if(NOT target STREQUAL "cli" AND (target_level LESS 0 OR target_gui))
                    set(wrong "the command line includes the window")
                endif()
            elseif(target STREQUAL "app" OR target STREQUAL "cli")
                set(wrong "includes a program")
            elseif(target_gui AND NOT gui)
                set(wrong "the core includes a window")
            elseif(target_level GREATER level AND (target_gui OR NOT gui))
                set(wrong "a higher layer")
            endif()
        endif()
        if(wrong)
            list(APPEND offenders "  ${source}: ${line} (${wrong})")
        endif()
    endforeach()
endforeach()
if(offenders)
    list(JOIN offenders "\n" report)
    message(FATAL_ERROR "Includes that run up the layers:\n${report}")
endif()
