# Installs the build into a scratch prefix and checks what a desktop reads:
# the program, the desktop file and metainfo (validated by their own tools),
# the icons at every size, the man page, the manual the help command shows, the
# package's copyright and changelog. Run as: cmake -DBUILD=... -DAPP_ID=... -P install.cmake
set(prefix ${BUILD}/install-check)
file(REMOVE_RECURSE ${prefix})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix} RESULT_VARIABLE rc OUTPUT_QUIET)
if(rc)
  message(FATAL_ERROR "cmake --install failed")
endif()
set(share ${prefix}/share)
set(doc share/doc/quillmark)
foreach(f bin/quillmark share/man/man1/quillmark.1.gz share/icons/hicolor/scalable/apps/${APP_ID}.svg
          ${doc}/docs/manual/index.md ${doc}/copyright ${doc}/changelog.gz)
  if(NOT EXISTS ${prefix}/${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
foreach(size 16 32 48 64 128 256)
  file(READ ${share}/icons/hicolor/${size}x${size}/apps/${APP_ID}.png head LIMIT 24 HEX)
  # PNG signature, then the IHDR width as a 32-bit big-endian number.
  string(SUBSTRING "${head}" 32 8 width)
  math(EXPR width "0x${width}")
  if(NOT head MATCHES "^89504e47" OR NOT width EQUAL size)
    message(FATAL_ERROR "icon ${size}x${size} is not a ${size}-pixel PNG")
  endif()
endforeach()
foreach(check "desktop-file-validate;${share}/applications/${APP_ID}.desktop"
              "appstreamcli;validate;--no-net;${share}/metainfo/${APP_ID}.metainfo.xml")
  execute_process(COMMAND ${check} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(rc)
    message(FATAL_ERROR "${check}: ${out}")
  endif()
endforeach()
# The design files' type, as the desktop's MIME database compiles it.
execute_process(COMMAND update-mime-database ${share}/mime
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
file(GLOB_RECURSE types ${share}/mime/application/x-quillmark-design.xml)
if(rc OR NOT types)
  message(FATAL_ERROR "update-mime-database: no application/x-quillmark-design: ${out}")
endif()
execute_process(COMMAND ${prefix}/bin/quillmark --version OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(rc OR NOT out MATCHES "^quillmark [0-9]")
  message(FATAL_ERROR "quillmark --version: ${rc} ${out}")
endif()
file(REMOVE_RECURSE ${prefix})
