#include "SuiteIcons.h"

#include <QString>

namespace veltrana {

QIcon SuiteIcon(const char* program) {
    return QIcon(QStringLiteral(":/icons/%1.png").arg(QLatin1String(program)));
}

} // namespace veltrana
