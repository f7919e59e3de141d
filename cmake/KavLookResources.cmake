# The built-in looks' pictures and string tables as one Qt resource file, under the library's
# resource name (kavskin), which KavInitResources() refers to. Sets out_var to the generated
# sources for the calling target.
function(kav_look_resources out_var)
  file(GLOB pictures CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/looks/*.bmp)
  file(GLOB tables CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/strings/*)
  set(qrc "<RCC>\n  <qresource prefix=\"/looks\">\n")
  foreach(picture IN LISTS pictures)
    get_filename_component(resource_name ${picture} NAME_WE)
    string(APPEND qrc "    <file alias=\"${resource_name}\">${picture}</file>\n")
  endforeach()
  string(APPEND qrc "  </qresource>\n  <qresource prefix=\"/strings\">\n")
  foreach(table IN LISTS tables)
    get_filename_component(table_name ${table} NAME)
    string(APPEND qrc "    <file alias=\"${table_name}\">${table}</file>\n")
  endforeach()
  string(APPEND qrc "  </qresource>\n</RCC>\n")
  # Copied only when it changes, so that an unchanged configure does not rebuild the resources
  # (and copied as it is: picture names may hold "@").
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/kavskin.qrc.new "${qrc}")
  configure_file(${CMAKE_CURRENT_BINARY_DIR}/kavskin.qrc.new ${CMAKE_CURRENT_BINARY_DIR}/kavskin.qrc COPYONLY)
  qt_add_resources(sources ${CMAKE_CURRENT_BINARY_DIR}/kavskin.qrc)
  set(${out_var} ${sources} PARENT_SCOPE)
endfunction()
