# Compiles ClassTables.txt into the binary class-table resources, emitted as C++ byte arrays.
# Usage: cmake -DINPUT=ClassTables.txt -DOUTPUT=ClassTableResources.cpp -P GenerateClassTables.cmake
#
# Resource layout, every integer little-endian, every string NUL-terminated:
#   attributes: name, type (u16), flags (u16), [enum value names..., ""]   ... then ""
#   methods:    name, 4 x (type u16, name), result type (u16)              ... then ""
#   events:     name, 4 x (type u16, name)                                ... then ""

set(types Void Double Long Color Id Short Enum Byte Boolean String Font Text Picture Palette
          Special Script Media)
set(code 0)
foreach(t ${types})
  set(TYPE_${t} ${code})
  math(EXPR code "${code} + 1")
endforeach()

function(fail message)
  message(FATAL_ERROR "${INPUT}:${line_number}: ${message}")
endfunction()

# Appends the bytes of a NUL-terminated string to the variable named by out.
function(emit_string out text)
  string(LENGTH "${text}" length)
  if(length GREATER 31)
    fail("name longer than 31 characters: '${text}'")
  endif()
  string(HEX "${text}" _hex)
  string(REGEX REPLACE "(..)" "0x\\1," _string_bytes "${_hex}")
  set(${out} "${${out}}${_string_bytes}0x00," PARENT_SCOPE)
endfunction()

function(emit_u16 out value)
  math(EXPR _low "(${value}) & 255" OUTPUT_FORMAT HEXADECIMAL)
  math(EXPR _high "((${value}) >> 8) & 255" OUTPUT_FORMAT HEXADECIMAL)
  set(${out} "${${out}}${_low},${_high}," PARENT_SCOPE)
endfunction()

function(type_code out name)
  if(NOT DEFINED TYPE_${name})
    fail("unknown value type '${name}'")
  endif()
  set(${out} ${TYPE_${name}} PARENT_SCOPE)
endfunction()

# Appends four parameter slots built from "Type Name" fields.
function(emit_params out)
  set(params ${ARGN})
  list(LENGTH params count)
  if(count GREATER 4)
    fail("more than four parameters")
  endif()
  set(_param_bytes "")
  foreach(param ${params})
    string(REGEX MATCH "^([A-Za-z]+) (.+)$" matched "${param}")
    if(NOT matched)
      fail("parameter '${param}' is not 'Type Name'")
    endif()
    set(ptype "${CMAKE_MATCH_1}")
    set(pname "${CMAKE_MATCH_2}")
    type_code(_c ${ptype})
    emit_u16(_param_bytes ${_c})
    emit_string(_param_bytes "${pname}")
  endforeach()
  while(count LESS 4)
    set(_param_bytes "${_param_bytes}0x00,0x00,0x00,")
    math(EXPR count "${count} + 1")
  endwhile()
  set(${out} "${${out}}${_param_bytes}" PARENT_SCOPE)
endfunction()

set(arrays "")
set(entries "")
set(names "")
set(current "")

macro(finish_class)
  if(current)
    set(arrays "${arrays}const uint8_t kClass${current}[] = {\n${attr_bytes}0x00,\n${method_bytes}0x00,\n${event_bytes}0x00,\n};\n\n")
    set(entries "${entries}    {Resources::kRawData, ${current}, kClass${current}, static_cast<int32_t>(sizeof kClass${current})},\n")
    set(names "${names}    {${current}, \"${current_name}\"},\n")
  endif()
endmacro()

file(STRINGS "${INPUT}" lines ENCODING UTF-8)
set(line_number 0)
foreach(line IN LISTS lines)
  math(EXPR line_number "${line_number} + 1")
  if(line MATCHES "^[ \t]*(#|$)")
    continue()
  endif()
  if(NOT line MATCHES "^(list|class|attr|method|event)[ \t]+(.*)$")
    fail("cannot read '${line}'")
  endif()
  set(keyword "${CMAKE_MATCH_1}")
  string(REPLACE "|" ";" fields "${CMAKE_MATCH_2}")
  set(trimmed "")
  foreach(field IN LISTS fields)
    string(STRIP "${field}" field)
    list(APPEND trimmed "${field}")
  endforeach()
  set(fields ${trimmed})
  list(POP_FRONT fields first)

  if(keyword STREQUAL "list")
    set(LIST_${first} ${fields})
  elseif(keyword STREQUAL "class")
    finish_class()
    set(current "${first}")
    list(GET fields 0 current_name)
    set(attr_bytes "")
    set(method_bytes "")
    set(event_bytes "")
  elseif(NOT current)
    fail("'${keyword}' before the first class")
  elseif(keyword STREQUAL "attr")
    list(POP_FRONT fields type flags)
    type_code(c ${type})
    set(bytes "")
    emit_string(bytes "${first}")
    emit_u16(bytes ${c})
    emit_u16(bytes ${flags})
    if(type STREQUAL "Enum")
      if(fields MATCHES "^@(.+)$")
        set(fields ${LIST_${CMAKE_MATCH_1}})
      endif()
      if(NOT fields)
        fail("enum attribute '${first}' without values")
      endif()
      foreach(value IN LISTS fields)
        emit_string(bytes "${value}")
      endforeach()
      set(bytes "${bytes}0x00,")
    elseif(fields)
      fail("values given for '${first}', which is not an Enum")
    endif()
    set(attr_bytes "${attr_bytes}${bytes}\n")
  elseif(keyword STREQUAL "method")
    list(POP_FRONT fields result)
    type_code(c ${result})
    set(bytes "")
    emit_string(bytes "${first}")
    emit_params(bytes ${fields})
    emit_u16(bytes ${c})
    set(method_bytes "${method_bytes}${bytes}\n")
  else()
    set(bytes "")
    emit_string(bytes "${first}")
    emit_params(bytes ${fields})
    set(event_bytes "${event_bytes}${bytes}\n")
  endif()
endforeach()
finish_class()

set(source "// Generated from ClassTables.txt by GenerateClassTables.cmake; edit the table, not this file.
#include \"iface/ClassTableResources.h\"

namespace tamber {

namespace {

${arrays}const ResourceData kTables[] = {
${entries}};

struct ClassName {
    uint16_t id;
    const char* typeName;
};

const ClassName kNames[] = {
${names}};

}  // namespace

std::span<const ResourceData> ClassTableResources()
{
    return kTables;
}

std::string_view ClassTypeName(uint16_t classId)
{
    for (const ClassName& name : kNames) {
        if (name.id == classId)
            return name.typeName;
    }
    return {};
}

}  // namespace tamber
")
# Rewrite only on change so that dependants do not rebuild needlessly.
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
  if(old STREQUAL source)
    return()
  endif()
endif()
file(WRITE "${OUTPUT}" "${source}")
