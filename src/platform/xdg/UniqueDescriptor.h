#pragma once

namespace sekreta::platform {

// Owns a file descriptor and closes it when it goes; -1 holds none.
class UniqueDescriptor {
public:
    UniqueDescriptor() = default;
    explicit UniqueDescriptor(int descriptor)
        : m_descriptor(descriptor)
    {
    }
    ~UniqueDescriptor();
    UniqueDescriptor(UniqueDescriptor&& other) noexcept;
    UniqueDescriptor& operator=(UniqueDescriptor&& other) noexcept;
    UniqueDescriptor(const UniqueDescriptor&) = delete;
    UniqueDescriptor& operator=(const UniqueDescriptor&) = delete;

    int Get() const { return m_descriptor; }
    // Gives the descriptor up without closing it.
    int Release();
    // Closes the descriptor held, if any.
    void Reset();

private:
    int m_descriptor = -1;
};

}  // namespace sekreta::platform
