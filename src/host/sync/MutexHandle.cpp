#include "host/sync/MutexHandle.h"

#include "host/sync/MutexTable.h"

namespace host {

MutexHandle::~MutexHandle() { MutexTable::instance().close(object_); }

}  // namespace host
