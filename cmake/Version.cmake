# SPDX-License-Identifier: GPL-3.0-or-later
#
# The one version of KORVO is project(VERSION). This file adds where the build
# comes from, so that a report or a binary names the sources that made it:
#   KORVO_COMMIT       the commit of the git checkout, with "-modificado" when
#                      tracked files differed from it at configure time; set it
#                      by hand (-DKORVO_COMMIT=...) to rebuild a release from a
#                      copy of its sources that is not a git checkout.
#   KORVO_COMMIT_TEXT  the commit alone, as the report names it
#   KORVO_VERSION_TEXT "1.0 (commit ...)", or "1.0 (sin commit: ...)" for
#                      sources from outside a git checkout.
#   KORVO_SOURCE_DATE_EPOCH  the commit's date in seconds since 1970, the time
#                      stamped into the man page, the manual's resource, the
#                      changelog and the package; SOURCE_DATE_EPOCH in the
#                      environment overrides it, as everywhere else.
# A new commit, a checkout or an index change configures the build again, so
# that these never go stale across commits.
set(KORVO_COMMIT "" CACHE STRING "Commit the sources come from (empty: ask git)")

find_package(Git QUIET)
set(korvo_commit "${KORVO_COMMIT}")
set(korvo_git_epoch "")
if(GIT_EXECUTABLE)
  # Only a checkout of KORVO itself counts, not one that merely encloses a
  # copy of its sources.
  execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --show-toplevel
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE korvo_git_top
    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE korvo_git_status)
  file(REAL_PATH "${PROJECT_SOURCE_DIR}" korvo_source_real)
  if(korvo_git_status EQUAL 0 AND korvo_git_top)
    file(REAL_PATH "${korvo_git_top}" korvo_git_top)
  endif()
  if(korvo_git_status EQUAL 0 AND korvo_git_top STREQUAL korvo_source_real)
    macro(korvo_git out)
      execute_process(COMMAND ${GIT_EXECUTABLE} ${ARGN} WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        OUTPUT_VARIABLE ${out} OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    endmacro()
    korvo_git(korvo_git_epoch log -1 --format=%ct)
    if(NOT korvo_commit)
      korvo_git(korvo_commit rev-parse HEAD)
      korvo_git(korvo_changes status --porcelain --untracked-files=no)
      if(korvo_changes)
        string(APPEND korvo_commit "-modificado")
      endif()
    endif()
    korvo_git(korvo_head rev-parse --git-path HEAD)
    korvo_git(korvo_index rev-parse --git-path index)
    korvo_git(korvo_ref symbolic-ref -q HEAD)
    set(korvo_watch ${korvo_head} ${korvo_index})
    if(korvo_ref)
      korvo_git(korvo_ref_file rev-parse --git-path ${korvo_ref})
      korvo_git(korvo_packed rev-parse --git-path packed-refs)
      list(APPEND korvo_watch ${korvo_ref_file} ${korvo_packed})
    endif()
    foreach(f IN LISTS korvo_watch)
      cmake_path(ABSOLUTE_PATH f BASE_DIRECTORY ${PROJECT_SOURCE_DIR})
      if(EXISTS "${f}")
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${f}")
      endif()
    endforeach()
  endif()
endif()

if(korvo_commit)
  set(KORVO_VERSION_TEXT "${PROJECT_VERSION} (commit ${korvo_commit})")
  set(KORVO_COMMIT_TEXT "${korvo_commit}")
else()
  set(KORVO_VERSION_TEXT "${PROJECT_VERSION} (sin commit: compilado fuera de un repositorio git)")
  set(KORVO_COMMIT_TEXT "desconocido: compilado fuera de un repositorio git")
endif()

if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(KORVO_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
else()
  set(KORVO_SOURCE_DATE_EPOCH "${korvo_git_epoch}")
endif()
if(NOT KORVO_SOURCE_DATE_EPOCH)
  # Sources with no date of their own are stamped with the time of configuring;
  # such a build cannot be reproduced byte for byte.
  string(TIMESTAMP KORVO_SOURCE_DATE_EPOCH "%s" UTC)
endif()
# The sources' date as the changelog writes it (string(TIMESTAMP) reads it from
# the environment).
set(ENV{SOURCE_DATE_EPOCH} "${KORVO_SOURCE_DATE_EPOCH}")
string(TIMESTAMP KORVO_SOURCE_DATE_RFC2822 "%a, %d %b %Y %H:%M:%S +0000" UTC)

# Where this build comes from, for a second build that must give the same bytes.
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/korvo-source.env
  CONTENT "KORVO_COMMIT='${korvo_commit}'\nSOURCE_DATE_EPOCH=${KORVO_SOURCE_DATE_EPOCH}\n")
