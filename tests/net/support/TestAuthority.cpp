#include "net/support/TestAuthority.h"

#include <cstdlib>

namespace tarvic::test {

bool MakeTestAuthority(const std::string& folder, const std::string& name)
{
    // Elliptic-curve keys: made in milliseconds, where RSA takes a good part of a second.
    const std::string key = " -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes";
    const std::string script =
        "cd '" + folder + "' && " + "openssl req -x509" + key + " -keyout " + name + ".key -out " + name +
        ".crt -days 2 -subj '/CN=" + name + "' && openssl req" + key + " -keyout " + name + "-courtier.key -out " +
        name + "-courtier.csr -subj '/CN=127.0.0.1' && printf 'subjectAltName=IP:127.0.0.1,DNS:localhost\\n' > " +
        name + ".ext && openssl x509 -req -in " + name + "-courtier.csr -CA " + name + ".crt -CAkey " + name +
        ".key -CAcreateserial -out " + name + "-courtier.crt -days 2 -extfile " + name + ".ext";
    return std::system(("(" + script + ") > /dev/null 2>&1").c_str()) == 0;
}

}  // namespace tarvic::test
