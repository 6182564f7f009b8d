#include "services/file_system_ops.h"

namespace {

const FileSystemOps PLATFORM_OPS = {CreateFileW, WriteFile, MoveFileExW};

const FileSystemOps* current_ops = &PLATFORM_OPS;

}  // namespace

const FileSystemOps& file_system_ops()
{
    return *current_ops;
}

void file_set_system_ops(const FileSystemOps* ops)
{
    current_ops = ops ? ops : &PLATFORM_OPS;
}
