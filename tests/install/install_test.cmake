# Installs the build tree into a fresh prefix and checks what a desktop user gets: the programs,
# which find their languages and help in the installed tree, the desktop entry (validated when
# desktop-file-validate is there), the icon and the file types.
# Arguments: -DBUILD=<build tree> -DPREFIX=<prefix to install into> -DSOURCE=<source tree>
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${PREFIX}"
  RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${err}")
endif()

foreach(f bin/qorv bin/qorv-cli share/qorv/languages/English.lng share/qorv/languages/Español.lng
    share/qorv/help/es/index.html share/qorv/help/en/index.html share/qorv/help/en/construir.html
    share/applications/qorv.desktop share/icons/hicolor/scalable/apps/qorv.svg
    share/mime/packages/qorv.xml)
  if(NOT EXISTS "${PREFIX}/${f}")
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
# The web page's engine module and template go along when they were built.
foreach(f qorv-web.js page.html)
  if(EXISTS "${SOURCE}/build-web/web/${f}" AND NOT EXISTS "${PREFIX}/share/qorv/web/${f}")
    message(FATAL_ERROR "not installed: share/qorv/web/${f}")
  endif()
endforeach()
# Nothing of the build tree may be what the installed programs find.
if(EXISTS "${PREFIX}/bin/languages" OR EXISTS "${PREFIX}/bin/help")
  message(FATAL_ERROR "data folders beside the installed programs")
endif()

# The installed editor starts (without a screen) and reads every language file and help page.
execute_process(COMMAND "${CMAKE_COMMAND}" -E env QT_QPA_PLATFORM=offscreen
  "${PREFIX}/bin/qorv" --check-data
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_QUIET)
file(REAL_PATH "${PREFIX}" real)
if(NOT rc EQUAL 0 OR NOT out MATCHES "languages ${real}/share/qorv/languages"
   OR NOT out MATCHES "help ${real}/share/qorv/help")
  message(FATAL_ERROR "the installed editor does not find its data (${rc}):\n${out}")
endif()

# The installed command-line tool reads a document.
execute_process(COMMAND "${PREFIX}/bin/qorv-cli" info "${SOURCE}/examples/triangle.qrv"
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "installed qorv-cli failed (${rc}): ${out}${err}")
endif()

find_program(VALIDATE desktop-file-validate)
if(VALIDATE)
  execute_process(COMMAND "${VALIDATE}" "${PREFIX}/share/applications/qorv.desktop"
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0 OR NOT "${out}${err}" STREQUAL "")
    message(FATAL_ERROR "qorv.desktop does not validate:\n${out}${err}")
  endif()
else()
  message(STATUS "desktop-file-validate not found: the desktop entry was not validated")
endif()

# The file types compile into the MIME database and name both extensions.
find_program(UPDATE_MIME update-mime-database)
if(UPDATE_MIME)
  execute_process(COMMAND "${UPDATE_MIME}" "${PREFIX}/share/mime" RESULT_VARIABLE rc
    OUTPUT_QUIET ERROR_VARIABLE err)
  if(NOT rc EQUAL 0 OR NOT EXISTS "${PREFIX}/share/mime/application/x-qorv-document.xml"
     OR NOT EXISTS "${PREFIX}/share/mime/application/x-qorv-macro.xml")
    message(FATAL_ERROR "the file types do not compile: ${err}")
  endif()
  file(READ "${PREFIX}/share/mime/globs2" globs)
  if(NOT globs MATCHES "x-qorv-document:\\*\\.qrv" OR NOT globs MATCHES "x-qorv-macro:\\*\\.mac")
    message(FATAL_ERROR "the file types lack their extensions:\n${globs}")
  endif()
endif()
file(REMOVE_RECURSE "${PREFIX}")
