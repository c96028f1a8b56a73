#pragma once

#include <QString>

#include "logdb/CSRC2006QSO.h"

namespace corvale {

// The one document: it holds the record set that the form serves and nothing else. It is never
// loaded, saved or modified.
class CCorvaleDoc {
  public:
    explicit CCorvaleDoc(const std::string& sourceMdb);

    void SetTitle(const QString& title) { m_strTitle = title; }
    const QString& GetTitle() const { return m_strTitle; }

    CCorvaleSet m_corvaleSet;

  private:
    QString m_strTitle;
};

}  // namespace corvale
