# The version is written in two places only: project(... VERSION) in CMakeLists.txt, and the top
# entry of packaging/deb/changelog, "messages-tool (<version>-<revision>) ...", which also holds the
# Debian revision of the package and the release date. Everything else takes them from here: the
# package version (cmake/package.cmake), the man pages' .TH lines (cmake/install.cmake) and
# messages-lint --version.
#
# Sets MT_DEB_REVISION and MT_RELEASE_DATE (YYYY-MM-DD, the date of the top entry). When the two
# places disagree a release configure fails (a package would contradict itself, and CI builds
# one); other builds warn.
set(mt_changelog "${PROJECT_SOURCE_DIR}/packaging/deb/changelog")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${mt_changelog}")
file(STRINGS "${mt_changelog}" mt_changelog_head LIMIT_COUNT 1)
file(STRINGS "${mt_changelog}" mt_changelog_trailer REGEX "^ -- " LIMIT_COUNT 1)

set(mt_version_problem "")
if(NOT mt_changelog_head MATCHES "^messages-tool \\(([0-9.]+)-([0-9A-Za-z.+~]+)\\) ")
  set(mt_version_problem "packaging/deb/changelog does not begin with an entry \"messages-tool (<version>-<revision>)\"")
elseif(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  set(mt_version_problem "packaging/deb/changelog's top entry is version ${CMAKE_MATCH_1}, CMakeLists.txt says \
${PROJECT_VERSION}: add a changelog entry for the new version")
else()
  set(MT_DEB_REVISION "${CMAKE_MATCH_2}")
endif()

# " -- Name <address>  Wed, 09 Dec 2026 16:46:10 +0000" -> 2026-12-09
set(mt_months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
if(mt_changelog_trailer MATCHES ">  [A-Z][a-z][a-z], ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
  list(FIND mt_months "${CMAKE_MATCH_2}" mt_month)
  math(EXPR mt_month "${mt_month} + 1" OUTPUT_FORMAT DECIMAL)
  string(LENGTH "${mt_month}" mt_month_digits)
  if(mt_month_digits EQUAL 1)
    set(mt_month "0${mt_month}")
  endif()
  set(MT_RELEASE_DATE "${CMAKE_MATCH_3}-${mt_month}-${CMAKE_MATCH_1}")
elseif(mt_version_problem STREQUAL "")
  set(mt_version_problem "packaging/deb/changelog's top entry has no trailer line with an RFC 2822 date")
endif()

if(NOT mt_version_problem STREQUAL "")
  if(MT_REQUIRE_PRODUCTION_KEY)
    message(FATAL_ERROR " ${mt_version_problem}.")
  endif()
  message(WARNING "${mt_version_problem}.")
endif()
message(STATUS "Version: ${PROJECT_VERSION}-${MT_DEB_REVISION} of ${MT_RELEASE_DATE}")
