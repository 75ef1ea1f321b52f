# Fails when a file of the logic library (every source outside a gui/ folder) includes a
# Qt Widgets, Qt Gui or Qt Network header. The linker does not catch such includes when they happen
# to resolve.
file(GLOB_RECURSE sources "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
set(offenders "")
foreach(source IN LISTS sources)
    if(source MATCHES "/gui/" OR source MATCHES "/sim/")
        continue()
    endif()
    file(STRINGS "${source}" lines REGEX "#include[ \t]*<(QtWidgets|QtGui|QWidget|QMainWindow|QDialog|QLabel|QPushButton|QComboBox|QLineEdit|QCheckBox|QTableView|QMessageBox|QFileDialog|QApplication|QGuiApplication|QDesktopServices|QFont|QPainter|QColor|QtNetwork|QLocalServer|QLocalSocket)")
    if(lines)
        list(APPEND offenders "${source}: ${lines}")
    endif()
endforeach()
if(offenders)
    message(FATAL_ERROR "Logic files include widget, GUI or network headers:\n${offenders}")
endif()
