#include "core/mailvalues.h"

namespace trapwell::core {

MailValues& MailValues::current() {
    thread_local MailValues values;
    return values;
}

} // namespace trapwell::core
