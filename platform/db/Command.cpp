#include "platform/db/Command.h"

#include "core/base/gError.h"
#include "platform/db/Connection.h"

namespace db {

int Command::execute(const QVariantList& params) const {
    if (!connection_) gRaise(err::Closed, QStringLiteral("命令没有活动连接。"));
    return connection_->execute(text_, params);
}

} // namespace db
