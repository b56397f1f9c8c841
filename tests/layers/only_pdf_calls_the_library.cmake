# Fails when a layer above pdf/ includes the PDF library's own header, what calls the library
# directly or what reading keeps to itself: those layers get what they need from pdf/'s own
# functions and values.
set(private_headers ondrelkit/ondrelkit.h pdf/pdf_tables.h pdf/pdf_guard.h
    pdf/document_context.h pdf/page_reading.h pdf/content_walk.h pdf/annotation_handles.h
    pdf/comment_classification.h pdf/element_classification.h)
set(offenders "")
foreach(layer ui apply session client)
  file(GLOB_RECURSE sources "${SOURCE_DIR}/${layer}/*.cpp" "${SOURCE_DIR}/${layer}/*.h")
  foreach(source ${sources})
    file(READ ${source} text)
    foreach(header ${private_headers})
      string(FIND "${text}" "#include \"${header}\"" at)
      if(NOT at EQUAL -1)
        list(APPEND offenders "${source} includes ${header}")
      endif()
    endforeach()
  endforeach()
endforeach()
if(offenders)
  list(JOIN offenders "\n" lines)
  message(FATAL_ERROR "${lines}")
endif()
