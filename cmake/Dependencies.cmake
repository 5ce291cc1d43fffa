# Third-party libraries of the Windows builds: Hunspell and OpenSSL's libcrypto,
# both static, built by scripts/setup-deps into a cache outside the source tree
# ($QOR_CACHE/<triplet>/{lib,include}).
#
# Defines the imported targets
#   qor_hunspell   libhunspell.a, HUNSPELL_STATIC, include dir (use <hunspell/hunspell.hxx>)
#   qor_crypto     libcrypto.a with the Windows libraries it calls into (use <openssl/...>)

if(DEFINED ENV{QOR_CACHE} AND NOT "$ENV{QOR_CACHE}" STREQUAL "")
  set(_qor_cache_default "$ENV{QOR_CACHE}")
else()
  set(_qor_cache_default /var/cache/qorbrindavel)
endif()
set(QOR_CACHE "${_qor_cache_default}" CACHE PATH
    "Where scripts/setup-deps put the third-party libraries (one directory per target triplet)")

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(QOR_DEPS_TRIPLET x86_64-w64-mingw32)
elseif(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(QOR_DEPS_TRIPLET i686-w64-mingw32)
else()
  message(FATAL_ERROR "qorBrindavel: unexpected pointer size '${CMAKE_SIZEOF_VOID_P}' for a Windows build")
endif()
set(QOR_DEPS_DIR "${QOR_CACHE}/${QOR_DEPS_TRIPLET}")

set(_qor_missing)
foreach(_f lib/libhunspell.a lib/libcrypto.a include/hunspell/hunspell.hxx include/openssl/sha.h
           include/openssl/configuration.h)
  if(NOT EXISTS "${QOR_DEPS_DIR}/${_f}")
    list(APPEND _qor_missing "${QOR_DEPS_DIR}/${_f}")
  endif()
endforeach()
if(_qor_missing)
  list(JOIN _qor_missing "\n  " _qor_missing_text)
  message(FATAL_ERROR
    "qorBrindavel: the static Hunspell and libcrypto for ${QOR_DEPS_TRIPLET} are missing:\n"
    "  ${_qor_missing_text}\n"
    "Build them once with (as root):\n"
    "  scripts/setup-deps\n"
    "or point QOR_CACHE (environment or -DQOR_CACHE=...) at the directory it filled "
    "(now: ${QOR_CACHE}).")
endif()

if(NOT TARGET qor_hunspell)
  add_library(qor_hunspell STATIC IMPORTED GLOBAL)
  set_target_properties(qor_hunspell PROPERTIES
    IMPORTED_LOCATION "${QOR_DEPS_DIR}/lib/libhunspell.a"
    IMPORTED_LINK_INTERFACE_LANGUAGES CXX
    INTERFACE_INCLUDE_DIRECTORIES "${QOR_DEPS_DIR}/include"
    INTERFACE_COMPILE_DEFINITIONS HUNSPELL_STATIC)
endif()

if(NOT TARGET qor_crypto)
  add_library(qor_crypto STATIC IMPORTED GLOBAL)
  set_target_properties(qor_crypto PROPERTIES
    IMPORTED_LOCATION "${QOR_DEPS_DIR}/lib/libcrypto.a"
    IMPORTED_LINK_INTERFACE_LANGUAGES C
    INTERFACE_INCLUDE_DIRECTORIES "${QOR_DEPS_DIR}/include"
    # What libcrypto calls on MinGW: ws2_32 (socket BIOs), advapi32 (CryptoAPI
    # random numbers, event log), crypt32 (certificate store), user32 (message
    # box, window station). bcrypt and gdi32 cover the RNG and entropy code of
    # other OpenSSL configurations; unused archives cost nothing.
    INTERFACE_LINK_LIBRARIES "ws2_32;gdi32;advapi32;crypt32;user32;bcrypt")
endif()

message(STATUS "qorBrindavel: Hunspell and libcrypto from ${QOR_DEPS_DIR}")
