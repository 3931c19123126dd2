#pragma once
// The whole contact with the operating system: window, input, images, GPU, files,
// threads, clipboard and message boxes. Two back-ends implement it: SDL2 + OpenGL
// (platform/sdl_gl) and a headless one for tests (platform/headless); files, threads
// and image decoding are shared (platform/posix, platform/image).
#include "core/array.h"
#include "core/string_view.h"
#include "core/types.h"
#include "platform/keys.h"

// ---- System -----------------------------------------------------------------------
void system_init(u32 flags);
void system_release();
void system_sleep(i64 milliseconds);
// Gives what the C heap holds free back to the system (the graphics driver's leftovers of
// compiling and drawing); a walk over the heap, for moments of rest.
void system_return_free_memory();
u64 system_performance_counter();
u64 system_performance_frequency();

// ---- Window -----------------------------------------------------------------------
// flags: bit 0x40 asks for a swap interval of 0 (no vertical sync); without it the
// swap is paced by the display.
bool display_open(i32 width, i32 height, StringView title, u32 flags, i32 resizable);
void display_set_icon(i32 width, i32 height, const u8* rgba_pixels);
bool display_is_closed();  // close button, or SIGINT, this frame
// The system asks the program to end without waiting for the user (SIGTERM, SIGHUP at
// logout): there is no time for questions.
bool system_termination_requested();
// Ends the process at once with `status`, standard output flushed.
[[noreturn]] void system_exit_now(i32 status);
bool display_is_resized(i32* width, i32* height);
bool display_is_minimized();
bool display_is_focus_lost();
bool display_is_focus_gained();
// The window's picture was lost or shown anew this frame (uncovered, restored, shown):
// it has to be drawn again even when nothing in it changed.
bool display_is_exposed();
void display_close();
// Where the window stands and its size, in screen units, so that the next start can put
// it back; false when unknown. Placing asks for both (the window manager may refuse).
bool display_get_placement(i32* x, i32* y, i32* width, i32* height);
void display_set_placement(i32 x, i32 y, i32 width, i32 height);
// Pixels drawn per screen unit (2 on a doubled display), 1 when unknown.
f32 display_content_scale();

// ---- Input, sampled once per frame by input_poll ---------------------------------
// Sleeps until an input or window event (or a close or termination signal) waits for
// input_poll, or `timeout_ms` passed; true when something waits. The events stay queued.
bool input_wait(i64 timeout_ms);
void input_poll();
bool input_key_is_pressed(i32 key);   // went down this frame
bool input_key_is_held(i32 key);
bool input_key_is_typed(i32 key);     // went down or repeated this frame
bool input_key_is_released(i32 key);  // went up this frame
u32 input_key_modifiers();            // bit 5 is Num Lock
StringView input_text_typed();        // the frame's typed text (UTF-8)
void input_text_enable(bool enable);
void input_mouse_position(i32* x, i32* y);  // pixels, y from the top
bool input_mouse_is_pressed(i32 button);
bool input_mouse_is_held(i32 button);
bool input_mouse_is_released(i32 button);
i32 input_mouse_wheel();  // signed steps this frame
void input_mouse_set_visible(bool visible);
void input_mouse_set_cursor(i32 shape);  // 0 arrow, 1 text
// Counter value (system_performance_counter units) of the first input event of the
// frame, 0 when there was none; for latency measurements.
u64 input_first_event_time();
// Whether a key or mouse button is down (as of the last input_poll).
bool input_anything_held();

// ---- Images -------------------------------------------------------------------------
struct Image {
    u8* pixels;  // inside the decoding buffer; null when the file could not be decoded
    i32 width;
    i32 height;
};
void image_set_buffer(i64 size, void* memory);
void image_set_buffer_position(i64 position);
void image_set_flip(bool flip);
Image image_load(StringView path, i32 channels);

// ---- GPU ----------------------------------------------------------------------------
// Numeric codes, as passed by the renderer:
//   component type 6: 32-bit float; buffer target 0: vertex data; usage 0: static.
//   texture target 1: 2D. internal format 13: RGBA8 (images); 29: RGBA16F (the linear offscreen frame).
//   format 8: RGBA; pixel type 0: unsigned bytes.
//   wrap axes 0 (s) and 1 (t); wrap modes 0 repeat, 2 clamp to edge.
//   filter parameters 3 (minify) and 4 (magnify); values 0 nearest, 1 linear (with
//   mipmaps when the texture has them).
//   frame buffer target 0; attachment 3: colour 0; draw buffer 0: colour 0.
//   frame buffer status 0 complete; 1..8 the incomplete states.
//   blend factors 3 source alpha, 9 one minus source alpha; clear mask 4: colour.
//   draw mode 5: triangle strip.
u32 vertex_array_create();
void vertex_array_bind(u32 vertex_array);
void vertex_array_unbind();
void vertex_array_destroy(u32 vertex_array);
u32 buffer_create();
void buffer_bind(u32 target, u32 buffer);
void buffer_data(u32 target, i64 size, const void* data, u32 usage);
void buffer_destroy(u32 buffer);
void attribute_enable(u32 index);
void attribute_format(u32 index, i32 components, u32 type, bool normalized, i32 stride, i64 offset);

struct ShaderResult {
    u8 ok;
    StringView log;
};
u32 shader_create();
// One text with a "#vertex" and a "#fragment" section; both stages are compiled and linked.
ShaderResult shader_source(u32 program, StringView source, StringView log_buffer);
i32 shader_get_uniform_location(u32 program, StringView name);
void shader_bind(u32 program);
void shader_uniform1f(i32 location, f32 value);
void shader_uniform1i(i32 location, i32 value);
void shader_uniform4f(i32 location, f32 x, f32 y, f32 z, f32 w);
void shader_uniform_matrix4fa(i32 location, i32 count, bool transpose, const f32* values);
void shader_destroy(u32 program);

u32 texture_create();
void texture_bind(u32 target, u32 texture);
void texture_unbind(u32 target);
void texture_unit(u32 unit);
void texture_image_2d(u32 target, i32 level, u32 internal_format, i32 width, i32 height, u32 format, u32 type,
                      const void* pixels);
void texture_parameter_wrap(u32 target, u32 axis, u32 mode);
void texture_parameter_filter(u32 target, u32 parameter, u32 value);
void texture_generate_mipmap(u32 target);
void texture_destroy(u32 texture);

u32 frame_buffer_create();
void frame_buffer_bind(u32 target, u32 frame_buffer);
void frame_buffer_unbind(u32 target);
void frame_buffer_texture(u32 target, u32 attachment, u32 texture_target, u32 texture, i32 level);
i32 frame_buffer_get_status(u32 target);
void frame_buffer_destroy(u32 frame_buffer);
// Copies the lower-left width x height pixels of `frame_buffer`'s colour to the same place
// in the window, unchanged and unclipped; the window is the draw target afterwards.
void frame_buffer_copy_to_window(u32 frame_buffer, i32 width, i32 height);
// Whether the window's back buffer keeps what was drawn into it from one present to the
// next (pipeline_present_areas copies from it and never swaps it): a frame may then draw
// just the part that changed straight into the window.
bool pipeline_window_keeps_picture();

void pipeline_draw_buffers(i32 count, const u32* buffers);
void pipeline_blend_enable(bool enable);
void pipeline_blend_factor(u32 source, u32 destination);
void pipeline_viewport(i32 x, i32 y, i32 width, i32 height);
void pipeline_clear_color(f32 r, f32 g, f32 b, f32 a);
void pipeline_clear(u32 mask);
// The scissor of pipeline_clear and draw_arrays; quad runs carry their own.
void pipeline_scissor_enable(bool enable);
void pipeline_scissor_rect(i32 x, i32 y, i32 width, i32 height);
void pipeline_present();
// The same where only these `count` rectangles changed since the last present (x, y,
// width, height each, window pixels from the bottom left): a back-end that can sends
// just those parts to the screen.
void pipeline_present_areas(const i32* rects, i32 count);
void draw_arrays(u32 mode, i32 first, i32 count, i32 instances);

// One quad of a run, 96 bytes without padding. The corners (0, 0), (1, 0), (0, 1), (1, 1)
// of the unit square, drawn as a triangle strip, go through `mvp` (column-major, to clip
// space); the texture is sampled at corner * uv_rect.zw + uv_rect.xy and tinted by
// `color`. The bound program reads them as per-instance vertex inputs: locations 0 to 3
// the columns of mvp, 4 the colour, 5 uv_rect; the corner is given by the vertex index
// (0..3: bit 0 is x, bit 1 is y).
struct QuadInstance {
    f32 mvp[16];
    f32 color[4];
    f32 uv_rect[4];  // x, y, width, height in texture coordinates
};
// Window pixels, origin bottom-left; a negative size clips everything.
struct QuadScissor {
    i32 x, y, width, height;
};
// Draws `count` quads in order with the bound program, `texture` on unit 0 and the blend
// in force, clipped to `scissor` (null: not clipped). Afterwards unit 0 is the active
// unit with `texture` bound; the scissor of pipeline_scissor_* is left as it was.
void pipeline_draw_quads(u32 texture, const QuadScissor* scissor, const QuadInstance* quads, i64 count);
// The renderer keeps quads in a list of its own until the picture must be complete.
// Before anything reads the picture (pipeline_present, the test back-end's views of
// what was drawn) the back-end calls `submit`, so that the list reaches it first.
// Null: nothing is kept back.
void pipeline_set_submit_hook(void (*submit)());

// ---- Files and directories ------------------------------------------------------------
struct FileHandle {
    i64 fd;  // -1 when the open failed
};
enum : i32 { file_mode_write = 1, file_mode_read = 2 };
FileHandle file_open(StringView path, i32 mode);
bool file_failed(FileHandle file);
i64 file_size(FileHandle file);
// Returns the number of bytes read (short only at end of file or on an error).
i64 file_read(FileHandle file, i64 size, void* destination);
// Returns false when not every byte could be written.
bool file_write(FileHandle file, i64 size, const void* source);
void file_close(FileHandle file);
bool file_exists(StringView path);  // a regular file (not a directory)
bool file_create(StringView path);  // an empty file; false when it cannot be made
bool directory_exists(StringView path);
// Names of the sub-directories and files of a directory ("." and ".." left out),
// copied into `pool`. Both lists are empty when the directory cannot be read.
struct DirectoryContent {
    Array<StringView> directories;
    Array<StringView> files;
};
DirectoryContent directory_get_content(StringView path, u8 pool);

// Replaces a file's content so that the old bytes stay until the new ones are on disk.
// Links are followed to the file they name (40 levels at most), so a link stays a link.
// Usually a temporary file beside it, given the original's mode, owner and group, is
// flushed and renamed over it. A file with several hard links, one whose owner or group
// could not be kept, or one in a directory we may not write is rewritten in place,
// after a temporary copy of the new bytes is on disk where the directory allows (the
// copy stays when the rewrite fails). A file the user may not write (for root: one
// without any write bit) is left untouched. Stack memory only: the emergency save after
// an arena ran out uses it too.
enum SaveResult : i32 { save_ok = 0, save_open_failed = 1, save_write_failed = 2, save_not_writable = 3 };
SaveResult file_save_atomic(StringView path, StringView content);
// The same, the content being the parts one after the other.
SaveResult file_save_atomic_parts(StringView path, const StringView* parts, i64 count);
// Removes the temporary files ("<name>.tesmora-save-XXXXXX") that an interrupted save
// left beside the file `path` names; returns how many.
i64 file_remove_stray_temporaries(StringView path);

// What stat() says of a path (links followed), to notice changes by other programs.
struct FileStamp {
    bool exists;
    bool is_regular;
    bool is_directory;
    i64 size;
    i64 mtime_ns;
    u64 inode;
    u64 device;
};
FileStamp file_stamp(StringView path);
bool file_remove(StringView path);  // a regular file; false for anything else
// Makes the directory and its missing parents; true when it exists afterwards.
bool directory_create_all(StringView path, u32 mode);
// `path` made absolute against the current directory, with "." and ".." elements and
// doubled or trailing "/" removed by text alone (links are not resolved). A view into
// `buffer`; empty when the result does not fit in `capacity` bytes.
StringView path_absolute(StringView path, char* buffer, i64 capacity);
// The user's home directory ($HOME); empty when it is not set.
StringView path_home_directory();

// Reading a whole file, the one way every reader does it: status and bytes.
enum ReadStatus : u8 { read_ok, read_cannot_open, read_too_large };
struct FileContents {
    ReadStatus status;
    StringView bytes;  // when read_ok: the bytes read (fewer than the size only on a short read)
    i64 size;          // the file's size as reported when opened
};
// Reads the file into a new block of `pool` (one byte at least, 8-aligned) when its size is
// at most `limit`; with `cut_at_limit` a longer file gives its first `limit` bytes instead
// of read_too_large. Only regular files are read.
FileContents file_read_all(StringView path, u8 pool, i64 limit, bool cut_at_limit = false);
// The same into an array, resized to the size plus `extra` bytes of room (count = the
// bytes read); the array keeps its contents when the file is not read.
FileContents file_read_all_into(StringView path, Array<u8>* into, i64 limit, i64 extra);
// The same into `destination`, which holds `limit` bytes.
FileContents file_read_all_to(StringView path, void* destination, i64 limit);

// ---- Threads and mutexes ---------------------------------------------------------------
struct ThreadHandle {
    u64 id;
};
typedef i64 (*ThreadBody)(void* argument);
// The thread gets a large stack (64 MiB) so that deep but bounded recursion is safe.
ThreadHandle thread_create(ThreadBody body, void* argument);
void thread_wait(ThreadHandle thread, i64 timeout);
// The calling thread yields to the others when the processor is busy: background work
// (analysis, recovery writes, searches) must not delay a keystroke's frame.
void thread_run_in_background();
struct Mutex;
Mutex* mutex_create();
void mutex_lock(Mutex* mutex);
void mutex_unlock(Mutex* mutex);
void mutex_destroy(Mutex* mutex);
// A wake-up call between threads: signal_post wakes a waiter (or the next one to wait);
// signal_wait returns after a post or `timeout_ms` (negative: no limit).
struct Signal;
Signal* signal_create();
void signal_post(Signal* signal);
void signal_wait(Signal* signal, i64 timeout_ms);
void signal_destroy(Signal* signal);
// Whether the calling thread is the one that called system_init (the main thread).
bool thread_is_main();

// ---- Clipboard --------------------------------------------------------------------------
// `clipboard_get` fills the registered buffer when the text fits; a longer text is
// returned from the platform's own storage, valid until the next clipboard call.
void clipboard_set_buffer(i64 capacity, char* memory);
void clipboard_set(StringView text);
StringView clipboard_get();

// ---- Messages and maths -------------------------------------------------------------------
void show_simple_message_box(u32 flags, StringView title, StringView text);
f64 math_abs(f64 x);
f64 math_sin(f64 x);
f64 math_cos(f64 x);
f64 math_sqrt(f64 x);
f64 math_pow(f64 x, f64 y);
f64 math_floor(f64 x);
