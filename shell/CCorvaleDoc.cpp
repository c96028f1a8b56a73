#include "shell/CCorvaleDoc.h"

namespace corvale {

CCorvaleDoc::CCorvaleDoc(const std::string& sourceMdb) : m_corvaleSet(sourceMdb) {}

}  // namespace corvale
