// The common shape of every GDI+ wrapper: the native object as callers see it
// (handle) and as the class uses it (native), equal after every member, and
// the calling thread's status of the last GDI+ call.
//
// Ownership: a wrapper owns its native object through a shared UniqueHandle,
// so clones share one object and it is deleted once, when the last holder
// deletes or goes away. A create member or SetHandle replaces the object held
// before without deleting it (the caller keeps what GetHandle returned).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>

#include "gdip/gdip_types.h"
#include "runtime/unique_handle.h"

// Status code of the last wrapper member that called GDI+ on this thread, in
// any object (message boxes are painted on the update thread too).
extern thread_local int GdipLastStatus;

// Stores the status as the last status; true exactly when it is Ok.
inline bool RecordGdipStatus(Gdiplus::GpStatus status) {
    GdipLastStatus = static_cast<int>(status);
    return status == Gdiplus::Ok;
}

// The traits of one GDI+ kind: Close is that kind's flat delete function
// (defined beside the bound flat interface), so each kind keeps its own live
// counter (UniqueHandle<...>::Live()).
template <typename Native>
struct GdipTraits {
    using Handle = Native;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h);
};
using GdipFontTraits = GdipTraits<Gdiplus::GpFont*>;
using GdipFontFamilyTraits = GdipTraits<Gdiplus::GpFontFamily*>;
using GdipGraphicsTraits = GdipTraits<Gdiplus::GpGraphics*>;
using GdipPathTraits = GdipTraits<Gdiplus::GpPath*>;
using GdipBrushTraits = GdipTraits<Gdiplus::GpBrush*>;
using GdipPenTraits = GdipTraits<Gdiplus::GpPen*>;
using GdipStringFormatTraits = GdipTraits<Gdiplus::GpStringFormat*>;
using GdipImageTraits = GdipTraits<Gdiplus::GpImage*>;
using GdipRegionTraits = GdipTraits<Gdiplus::GpRegion*>;
// Font collections are never deleted (the installed collection belongs to GDI+).
using GdipFontCollectionTraits = GdipTraits<Gdiplus::GpFontCollection*>;
template <> void GdipFontTraits::Close(Handle);
template <> void GdipFontFamilyTraits::Close(Handle);
template <> void GdipGraphicsTraits::Close(Handle);
template <> void GdipPathTraits::Close(Handle);
template <> void GdipBrushTraits::Close(Handle);
template <> void GdipPenTraits::Close(Handle);
template <> void GdipStringFormatTraits::Close(Handle);
template <> void GdipImageTraits::Close(Handle);
template <> void GdipRegionTraits::Close(Handle);
template <> void GdipFontCollectionTraits::Close(Handle);

using GdipFontHandle = UniqueHandle<GdipFontTraits>;
using GdipFontFamilyHandle = UniqueHandle<GdipFontFamilyTraits>;
using GdipGraphicsHandle = UniqueHandle<GdipGraphicsTraits>;
using GdipPathHandle = UniqueHandle<GdipPathTraits>;
using GdipBrushHandle = UniqueHandle<GdipBrushTraits>;
using GdipPenHandle = UniqueHandle<GdipPenTraits>;
using GdipStringFormatHandle = UniqueHandle<GdipStringFormatTraits>;
using GdipImageHandle = UniqueHandle<GdipImageTraits>;
using GdipRegionHandle = UniqueHandle<GdipRegionTraits>;

// GdipAlloc / GdipFree.
void* GdipAllocate(std::size_t size);
void GdipRelease(void* pointer);

template <typename Traits>
class GdipObject {
public:
    using Native = typename Traits::Handle;

    GdipObject() = default;
    GdipObject(const GdipObject&) = delete;
    GdipObject& operator=(const GdipObject&) = delete;
    GdipObject(GdipObject&& other) noexcept
        : handle_(std::exchange(other.handle_, 0)),
          native_(std::exchange(other.native_, 0)),
          owner_(std::move(other.owner_)) {}
    GdipObject& operator=(GdipObject&&) = delete;
    virtual ~GdipObject() = default;

    std::uintptr_t GetHandle() const noexcept { return handle_; }
    // The native object typed, for calls between wrappers.
    Native Get() const noexcept { return reinterpret_cast<Native>(native_); }
    bool IsEmpty() const noexcept { return native_ == 0; }

    // Takes a native pointer made elsewhere (or 0). The object held before is
    // not released.
    void SetHandle(std::uintptr_t pointer) {
        handle_ = pointer;
        SetNative(pointer);
    }
    void SetNative(std::uintptr_t pointer) {
        native_ = pointer;
        if (!owner_ || reinterpret_cast<std::uintptr_t>(owner_->Get()) != pointer) {
            // Give up the previous object without deleting it; a clone that
            // shares it keeps owning it.
            if (owner_ && owner_.use_count() == 1) (void)owner_->Release();
            owner_.reset();
            if (pointer != 0) owner_ = std::make_shared<UniqueHandle<Traits>>(reinterpret_cast<Native>(pointer));
        }
        NativeChanged();
    }

    static void* Alloc(std::size_t size) { return GdipAllocate(size); }
    static void Free(void* pointer) { GdipRelease(pointer); }

    // Number of wrappers (this one included) that share the native object.
    long ShareCount() const noexcept { return owner_ ? owner_.use_count() : 0; }

protected:
    // Classes with an extra copy of the native pointer refresh it here.
    virtual void NativeChanged() {}

    // Clone: the fields copied, the native object shared.
    void ShareFrom(const GdipObject& other) {
        handle_ = other.handle_;
        native_ = other.native_;
        owner_ = other.owner_;
        NativeChanged();
    }

    // Takes what a create member's flat call wrote (normally 0 on failure).
    // `created` is read by reference: in AdoptCreated(flatCall(&p), p) the
    // argument p may be evaluated before the call has written it.
    template <typename Created>
    bool AdoptCreated(Gdiplus::GpStatus status, Created* const& created) {
        bool ok = RecordGdipStatus(status);
        SetHandle(reinterpret_cast<std::uintptr_t>(created));
        return ok;
    }

    // A delete member: false without calling GDI+ when empty. A shared
    // object is only let go; the last holder calls the delete function.
    template <typename DeleteFunction>
    bool DeleteWith(const DeleteFunction& deleteFunction) {
        if (native_ == 0) return false;
        bool ok;
        if (owner_ && owner_.use_count() > 1) {
            owner_.reset();
            ok = RecordGdipStatus(Gdiplus::Ok);
        } else {
            Native object = owner_ ? owner_->Release() : Get();
            owner_.reset();
            ok = RecordGdipStatus(deleteFunction(object));
        }
        SetHandle(0);
        return ok;
    }

private:
    std::uintptr_t handle_ = 0;
    std::uintptr_t native_ = 0;
    std::shared_ptr<UniqueHandle<Traits>> owner_;
};

// A graphics object as fonts and regions are measured against it: the
// wrappers take it by its base so that they need not know GdipGraphics,
// which draws with them.
using GdipGraphicsObject = GdipObject<GdipGraphicsTraits>;

// Scale or rotate about a point: order 0 (prepend) translates by (x, y), runs
// the operation, then translates back; order 1 (append) the other way round.
// Every call records its status; the result is that of the last one.
template <typename Translate, typename Operate>
bool TransformAboutPoint(float x, float y, int order, const Translate& translate, const Operate& operate) {
    float sign = order == 0 ? 1.0f : -1.0f;
    translate(sign * x, sign * y);
    operate();
    return translate(-sign * x, -sign * y);
}
