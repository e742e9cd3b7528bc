# Class tables: ClassTables.txt is compiled into byte arrays at build time and linked into
# the iface library as the program's raw-data resources 9250 to 9265.
set(class_tables_source ${CMAKE_CURRENT_LIST_DIR}/classes/ClassTables.txt)
set(class_tables_script ${CMAKE_CURRENT_LIST_DIR}/classes/GenerateClassTables.cmake)
set(class_tables_output ${PROJECT_BINARY_DIR}/generated/iface/ClassTableResources.cpp)
add_custom_command(
  OUTPUT ${class_tables_output}
  COMMAND ${CMAKE_COMMAND} -DINPUT=${class_tables_source} -DOUTPUT=${class_tables_output}
          -P ${class_tables_script}
  DEPENDS ${class_tables_source} ${class_tables_script}
  COMMENT "Compiling the class tables"
  VERBATIM)
target_sources(tamber_iface PRIVATE ${class_tables_output})
