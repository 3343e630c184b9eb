# Fails when a file of the storage core includes a layer above its own.
#   cmake -DROOT=<src/data> -DSTAMP=<file to touch on success> -P check_layers.cmake
#
# Layers from the bottom: the store (this folder without sql/ and database/),
# the SQL engine (sql/), the database lifecycle (database/). None of them may
# include the program's other parts (app/, cli/, rides/, lists/, query/).

set(above_everything "app/" "cli/" "rides/" "lists/" "query/" "main/")

function(layer_of file out)
    file(RELATIVE_PATH rel ${ROOT} ${file})
    if(rel MATCHES "^sql/")
        set(${out} sql PARENT_SCOPE)
    elseif(rel MATCHES "^database/")
        set(${out} database PARENT_SCOPE)
    else()
        set(${out} store PARENT_SCOPE)
    endif()
endfunction()

set(forbidden_store "data/sql/" "data/database/" ${above_everything})
set(forbidden_sql "data/database/" ${above_everything})
set(forbidden_database ${above_everything})

file(GLOB_RECURSE files ${ROOT}/*.h ${ROOT}/*.cpp)
set(problems "")
foreach(file IN LISTS files)
    layer_of(${file} layer)
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    foreach(line IN LISTS includes)
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]*)[\">].*$" "\\1" target "${line}")
        foreach(prefix IN LISTS forbidden_${layer})
            string(FIND "${target}" "${prefix}" at)
            if(at EQUAL 0)
                file(RELATIVE_PATH rel ${ROOT} ${file})
                string(APPEND problems "  src/data/${rel} (${layer}) includes ${target}\n")
            endif()
        endforeach()
    endforeach()
endforeach()

if(problems)
    message(FATAL_ERROR "The storage core includes upward:\n${problems}"
                        "The store may include only itself, the SQL engine the store, "
                        "the database both; nothing in src/data includes the program.")
endif()
file(TOUCH ${STAMP})
