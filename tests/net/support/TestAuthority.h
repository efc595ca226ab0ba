#pragma once

#include <string>

namespace tarvic::test {

// A certificate authority of the test's own, made with the openssl program in
// `folder`: <name>.crt (the authority), and, signed by it, a broker's
// certificate for 127.0.0.1 and localhost: <name>-courtier.crt and .key.
// Whether it was made.
bool MakeTestAuthority(const std::string& folder, const std::string& name);

}  // namespace tarvic::test
