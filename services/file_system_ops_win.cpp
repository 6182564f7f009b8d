#include "services/file_system_ops.h"

namespace {

const FileSystemOps PLATFORM_OPS = {CreateFileW, WriteFile, MoveFileExW, SetEndOfFile, FlushFileBuffers};

FileSystemOps current_ops = PLATFORM_OPS;

template <typename Call>
Call chosen(Call given, Call platform)
{
    return given ? given : platform;
}

}  // namespace

const FileSystemOps& file_system_ops()
{
    return current_ops;
}

void file_set_system_ops(const FileSystemOps* ops)
{
    const FileSystemOps& given = ops ? *ops : PLATFORM_OPS;
    current_ops.create_file = chosen(given.create_file, PLATFORM_OPS.create_file);
    current_ops.write_file = chosen(given.write_file, PLATFORM_OPS.write_file);
    current_ops.move_file = chosen(given.move_file, PLATFORM_OPS.move_file);
    current_ops.set_end_of_file = chosen(given.set_end_of_file, PLATFORM_OPS.set_end_of_file);
    current_ops.flush_file_buffers = chosen(given.flush_file_buffers, PLATFORM_OPS.flush_file_buffers);
}
