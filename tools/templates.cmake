# The shipped forms Forms/print.xlsx and Forms/svod.xlsx, generated at build
# time beside the executables by torquil-templates (libxlsxwriter).
add_executable(torquil-templates ${CMAKE_CURRENT_LIST_DIR}/make_templates.cpp)
target_include_directories(torquil-templates PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(torquil-templates PRIVATE PkgConfig::XLSXWRITER Qt6::Core)
target_compile_options(torquil-templates PRIVATE ${TORQUIL_WARNINGS})

set(TORQUIL_FORMS ${CMAKE_BINARY_DIR}/Forms/print.xlsx ${CMAKE_BINARY_DIR}/Forms/svod.xlsx)
add_custom_command(
  OUTPUT ${TORQUIL_FORMS}
  COMMAND torquil-templates ${CMAKE_BINARY_DIR}/Forms
  DEPENDS torquil-templates ${CMAKE_SOURCE_DIR}/office/Templates.h
  COMMENT "Generating the forms print.xlsx and svod.xlsx"
  VERBATIM)
add_custom_target(torquil-forms ALL DEPENDS ${TORQUIL_FORMS})
