# Writes OUTPUT, a C++ source that holds every NAME.session of the folder
# SESSIONS with its NAME.transcript, for emulator/session.h's storedSessions().
#   cmake -DSESSIONS=folder -DOUTPUT=file.cpp -P embed_sessions.cmake
file(GLOB scripts RELATIVE "${SESSIONS}" "${SESSIONS}/*.session")
list(SORT scripts)
set(delimiter "brisko_session")
set(entries "")
foreach(script IN LISTS scripts)
  string(REGEX REPLACE "\\.session$" "" name "${script}")
  set(transcript "${SESSIONS}/${name}.transcript")
  if(NOT EXISTS "${transcript}")
    message(FATAL_ERROR "${SESSIONS}/${script} has no expected transcript ${name}.transcript")
  endif()
  file(READ "${SESSIONS}/${script}" script_text)
  file(READ "${transcript}" transcript_text)
  foreach(text IN ITEMS "${script_text}" "${transcript_text}")
    string(FIND "${text}" ")${delimiter}\"" found)
    if(NOT found EQUAL -1)
      message(FATAL_ERROR "${name}: a session file may not contain )${delimiter}\"")
    endif()
  endforeach()
  string(APPEND entries "    {\"${name}\",\n     R\"${delimiter}(${script_text})${delimiter}\",\n"
                        "     R\"${delimiter}(${transcript_text})${delimiter}\"},\n")
endforeach()
set(source "// Generated from emulator/sessions/ by emulator/embed_sessions.cmake.
#include \"emulator/session.h\"

namespace brisko::emu {

const std::vector<StoredSession>& storedSessions() {
  static const std::vector<StoredSession> sessions = {
${entries}  };
  return sessions;
}

}  // namespace brisko::emu
")
# Rewritten only when it changes, so that an unchanged file compiles once.
set(old "")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
endif()
if(NOT old STREQUAL source)
  file(WRITE "${OUTPUT}" "${source}")
endif()
