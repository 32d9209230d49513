// Boost.Config's description of the C++ library for the Windows target.
//
// The target's compilers use the win32 threading model, whose C++ library
// (mingw-w64 GCC 12) has a <mutex> header without std::mutex. Boost.Config
// then says there is no <mutex>, and Boost.Regex falls back to its older
// C++03 engine, which matches differently from the one every other build
// uses (for example, where "\B" matches at the ends of a text). The plug-in
// runs on the host's thread alone and Boost.Regex is built without threads
// (BOOST_DISABLE_THREADS), so it never uses std::mutex: with the header
// counted as present it keeps the same engine as the native builds.
#include <boost/config/stdlib/libstdcpp3.hpp>
#undef BOOST_NO_CXX11_HDR_MUTEX
