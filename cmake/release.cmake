# Checks of a release build (UPDATER_RELEASE, set by the `release` preset),
# made before the update host gets its default. A release names the server
# it updates from, carries the vendor's public keys (or says in so many words
# that it is unsigned), never a test key kept in this repository, and has
# no test hooks.

if("${UPDATE_HOST}" STREQUAL "")
    message(FATAL_ERROR "A release build needs the update server: -DUPDATE_HOST=host[:port]")
endif()

if("${UPDATE_PUBLIC_KEY}" STREQUAL "" AND NOT UPDATE_ALLOW_UNSIGNED)
    message(FATAL_ERROR
        "A release build needs the release public key: -DUPDATE_PUBLIC_KEY=<128 hex digits> "
        "(tools/publish_manifest.py keygen prints it), or -DUPDATE_ALLOW_UNSIGNED=ON for an "
        "updater that trusts manifests as served")
elseif("${UPDATE_PUBLIC_KEY}" STREQUAL "")
    message(WARNING "An unsigned release: its updaters install whatever the server at ${UPDATE_HOST} serves")
endif()

# Neither test key (their private halves are public in this repository) may
# be among the release's keys.
string(TOLOWER "${UPDATE_PUBLIC_KEY}" _givenKeys)
string(REPLACE "," ";" _givenKeys "${_givenKeys}")
foreach(_testKeyFile test_release_key.pub test_release_key2.pub)
    file(READ ${CMAKE_CURRENT_LIST_DIR}/../tests/e2e/${_testKeyFile} _testKey)
    string(STRIP "${_testKey}" _testKey)
    string(TOLOWER "${_testKey}" _testKey)
    foreach(_givenKey IN LISTS _givenKeys)
        string(STRIP "${_givenKey}" _givenKey)
        if(_givenKey STREQUAL _testKey)
            message(FATAL_ERROR
                "UPDATE_PUBLIC_KEY holds a test key of the end-to-end tests (tests/e2e/${_testKeyFile}), whose "
                "private half is public in this repository: a release needs a key of its own "
                "(tools/publish_manifest.py keygen)")
        endif()
    endforeach()
endforeach()

if(UPDATER_TEST_HOOKS)
    message(FATAL_ERROR "A release build has no test hooks: UPDATER_TEST_HOOKS must be OFF")
endif()
if(UPDATER_BUILD_TESTS)
    message(FATAL_ERROR "A release build builds the updater alone: UPDATER_BUILD_TESTS must be OFF")
endif()
