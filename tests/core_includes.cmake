# The core folders name no header of Qt Widgets or Qt PrintSupport. A core
# target's include path holds core folders and Qt Core and Gui only, so a window
# header of ours or <QWidget> does not compile there; <QtWidgets/QWidget> would,
# through Qt's common include folder, and is caught here.
# Run as: cmake -DSOURCE=... -P core_includes.cmake
set(core_folders platform/core platform/numbers platform/metafile platform/products component/core data
  designer/document output/core designer/core designer/cli)
set(found "")
foreach(folder ${core_folders})
  file(GLOB_RECURSE files ${SOURCE}/${folder}/*.cpp ${SOURCE}/${folder}/*.h)
  foreach(f ${files})
    file(STRINGS ${f} lines REGEX "^[ \t]*#[ \t]*include[ \t]*<(QtWidgets|QtPrintSupport)/")
    if(lines)
      file(RELATIVE_PATH name ${SOURCE} ${f})
      string(APPEND found "\n  ${name}: ${lines}")
    endif()
  endforeach()
endforeach()
if(found)
  message(FATAL_ERROR "Window headers in the core:${found}")
endif()
