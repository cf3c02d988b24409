// The desktop program's free, realloc and reallocarray: every heap block is overwritten with
// zeros before glibc takes it back, so that nothing freed (a record's texts, a dialog's UTF-16
// field texts and their undo history, a decrypted buffer) stays readable in the process's
// memory. Linked into the program itself, these come first in the dynamic linker's lookup, so
// the frees of every shared library (Qt, libstdc++'s operator delete, the X libraries) come here.
// glibc's own M_PERTURB would not do: a block freed into the thread cache keeps its bytes.
// Never linked into a sanitized build, whose runtime replaces these functions itself.
#include "platform/SecureZero.h"

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <malloc.h>

extern "C" {
void* __libc_malloc(std::size_t size);
void __libc_free(void* block);
}

extern "C" void free(void* block) noexcept
{
    if (!block)
        return;
    sekreta::platform::SecureZero(block, malloc_usable_size(block));
    __libc_free(block);
}

// glibc's realloc would leave the old block unwiped where it moves the data, so a block that
// grows is always moved here, and the old one goes through free. A block shrinks in place
// unless it would keep more than half of itself unused.
extern "C" void* realloc(void* block, std::size_t size) noexcept
{
    if (!block)
        return __libc_malloc(size);
    if (size == 0) {
        free(block);
        return nullptr;
    }
    const std::size_t usable = malloc_usable_size(block);
    if (size <= usable && size >= usable / 2)
        return block;
    void* moved = __libc_malloc(size);
    // A failed realloc leaves the old block as it was.
    if (!moved)
        return nullptr;
    std::memcpy(moved, block, size < usable ? size : usable);
    free(block);
    return moved;
}

// glibc's reallocarray calls its own realloc, past the one above.
extern "C" void* reallocarray(void* block, std::size_t count, std::size_t size) noexcept
{
    std::size_t bytes = 0;
    if (__builtin_mul_overflow(count, size, &bytes)) {
        errno = ENOMEM;
        return nullptr;
    }
    return realloc(block, bytes);
}
