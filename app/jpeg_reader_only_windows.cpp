// Vidorun.exe reads JPEG covers and never writes a JPEG. The JPEG plugin it
// is linked with can do both, and its writer keeps libjpeg's whole encoder
// (some 0.2 MB) in the program. These stand-ins for the compressing half of
// libjpeg's interface, linked into Vidorun.exe alone, keep it out: the
// linker takes them before it would look into libjpeg for the real ones.
// Should anything ever write a JPEG through them, it fails as a libjpeg
// error does, through the error manager the caller installed, which the
// plugin turns into a failed QImageWriter::write(). Were a compressing
// function missing here, the link would fail on the symbols the two then
// define twice, so nothing can be half taken out.
#include <cstddef>

namespace {

// The head of libjpeg's jpeg_common_struct and jpeg_error_mgr, as far as
// reporting an error needs them: the error manager comes first in every
// libjpeg object, and its error_exit first in the manager.
struct ErrorManagerHead {
    void (*error_exit)(void *info);
};
struct CommonHead {
    ErrorManagerHead *err;
};

void refuse(void *info)
{
    auto *common = static_cast<CommonHead *>(info);
    common->err->error_exit(info);
}

}  // namespace

extern "C" {

void jpeg_CreateCompress(void *info, int, std::size_t) { refuse(info); }
void jpeg_destroy_compress(void *) {}
void jpeg_set_defaults(void *info) { refuse(info); }
void jpeg_set_quality(void *info, int, int) { refuse(info); }
void jpeg_simple_progression(void *info) { refuse(info); }
void jpeg_start_compress(void *info, int) { refuse(info); }
unsigned jpeg_write_scanlines(void *info, void *, unsigned) { refuse(info); return 0; }
void jpeg_write_marker(void *info, int, const void *, unsigned) { refuse(info); }
void jpeg_finish_compress(void *info) { refuse(info); }

}
