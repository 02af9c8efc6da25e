#pragma once

#include <string>
#include <vector>

namespace tolvane {

// The current user's personal certificate store ("MY").
//
// Linux: the folder $XDG_DATA_HOME/tolvane/certificados (~/.local/share/tolvane/certificados when
// XDG_DATA_HOME is unset, empty or relative). Each file is one certificate, taken in file-name
// order (bytes compared): PKCS#12 without password (".pfx", ".p12") or PEM (".pem", ".crt",
// ".cer"; DER is accepted for ".crt" and ".cer"), extensions in any letter case. A PEM file holds
// the certificate, optionally its private key (unencrypted) and further chain certificates; with
// a key, the certificate is the one that matches the key, else the first. Files that cannot be
// read or parsed, and subfolders, are skipped. A missing folder is made, with mode 0700, when the
// store is first read; a file with a key that the group or others can read is listed, but its
// key is never presented (the query fails and says to run chmod 600).

// The simple display name of every certificate of the store, in the store's order (UTF-8). The
// name follows the rules of CryptoAPI's simple display name: the first of the subject's common
// name, organizational unit, organization and e-mail address (each looked for in the subject,
// then in the directory names of the subject alternative names), else the first e-mail address
// (rfc822Name) among the subject alternative names, else the subject's first attribute, else "".
// A missing folder is an empty store; a folder that cannot be read raises
// Erro("EOSError", "System Error.  Code: <errno>.\r\n<system text>").
std::vector<std::string> NomesCertificadosPessoais();

}  // namespace tolvane
