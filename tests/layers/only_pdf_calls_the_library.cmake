# Fails when a layer above pdf/ includes the PDF library's own header, what calls the library
# directly or what reading keeps to itself, also through a header of pdf/ that it includes (and
# the headers of pdf/ those include): those layers get what they need from pdf/'s own functions
# and values, whose headers name nothing of the library.
cmake_minimum_required(VERSION 3.20)
set(private_headers ondrelkit/ondrelkit.h pdf/pdf_tables.h pdf/pdf_guard.h
    pdf/document_context.h pdf/page_reading.h pdf/content_walk.h pdf/annotation_handles.h
    pdf/comment_classification.h pdf/element_classification.h pdf/library_handles.h)

# The quoted includes of a file, in the order written.
function(quoted_includes file out)
  file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  set(found "")
  foreach(line ${lines})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" header "${line}")
    list(APPEND found ${header})
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

set(offenders "")
foreach(layer ui apply session client)
  file(GLOB_RECURSE sources "${SOURCE_DIR}/${layer}/*.cpp" "${SOURCE_DIR}/${layer}/*.h")
  foreach(source ${sources})
    # The file's own includes, then those of every pdf/ header reached, each header once.
    quoted_includes(${source} pending)
    set(seen "")
    while(pending)
      list(POP_FRONT pending header)
      if(header IN_LIST seen)
        continue()
      endif()
      list(APPEND seen ${header})
      if(header IN_LIST private_headers)
        list(APPEND offenders "${source} includes ${header}")
        continue()
      endif()
      if(header MATCHES "^pdf/" AND EXISTS "${SOURCE_DIR}/${header}")
        quoted_includes("${SOURCE_DIR}/${header}" more)
        foreach(next ${more})
          if(NOT next IN_LIST seen)
            list(APPEND pending ${next})
          endif()
        endforeach()
      endif()
    endwhile()
  endforeach()
endforeach()
if(offenders)
  list(REMOVE_DUPLICATES offenders)
  list(JOIN offenders "\n" lines)
  message(FATAL_ERROR "${lines}")
endif()
