/* The Blender adaptor's C face, loaded by the add-on with ctypes.
 *
 * Why a C face: a Python extension module only imports into the Python it was built for, and
 * Blender builds ship their own Python (3.10, 3.11, newer). Plain C functions with plain types
 * load into any of them, so one add-on zip serves every Blender.
 *
 * How the work is split:
 * - This library (C++ inside) loads the core library, attaches it with a host adaptor, pumps
 *   it, keeps the core's undo records, gathers the keys of a take and answers the core's node
 *   questions. It never calls Python itself.
 * - Everything that touches Blender's data is Python's: the add-on registers a table of
 *   callbacks (qvnb_set_scene) that find, create, rename, delete and key objects, read their
 *   animation at a frame, read and set the clock and push undo steps. The library calls them
 *   only from inside a qvnb_ call made on Blender's main thread, so bpy is always usable there.
 * - A node is named across the boundary by its key: the value of the object's "quorvane_node"
 *   custom property (written when the adaptor makes the object), or "=" and the object's name
 *   for an object the adaptor did not make. Keys survive renames, undo and saving.
 *
 * Strings: strings passed in are UTF-8 and only read during the call. Strings returned by the
 * library stay valid until the next call of the same function; callers copy them. Buffers given
 * to callbacks are filled NUL-terminated; such a callback returns the string's length plus one
 * (0 on failure), and when that exceeds the capacity it is called again with enough room.
 *
 * Matrices are 16 doubles, row-major, in Blender's z-up world; the library converts to and
 * from the core's y-up world.
 *
 * Lifetime: qvnb_detach lets go of every record and node of the core before the core library
 * is told to detach; the core library itself stays loaded for the rest of the process.
 */
#ifndef QUORVANE_BLENDER_SHIM_H
#define QUORVANE_BLENDER_SHIM_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Raised whenever a function or a structure below changes. */
#define QVNB_ABI_VERSION 1

/* createHostNode1's kinds: an empty, or a camera with a horizontal field of view in degrees. */
#define QVNB_OBJECT_EMPTY 0
#define QVNB_OBJECT_CAMERA 1

typedef struct QvnbObjectInfo {
    char name[512];      /* the object's name */
    char data_name[512]; /* its data block's name; empty when it has none */
    char parent[512];    /* the parent's key; empty at the root */
    char core_name[512]; /* the node name the core gave it; empty when no tool holds it */
    char type[32];       /* "CAMERA", "EMPTY", "MESH", ... */
    int32_t visible;
    int32_t child_count;
    double fov_degrees; /* cameras: horizontal field of view */
    double empty_size;  /* empties: display size */
} QvnbObjectInfo;

typedef struct QvnbScene {
    /* sizeof(QvnbScene) as the caller knows it; checked against the library's. */
    uint32_t size;

    /* The keys of the current scene's objects, one per line. */
    int32_t (*list_objects)(char* keys, int32_t capacity);
    /* 0 when no object has that key. */
    int32_t (*object_info)(const char* key, QvnbObjectInfo* info);
    int32_t (*object_child)(const char* key, int32_t index, char* child, int32_t capacity);
    /* The object at `frame` from its F-curves (current values where a channel has none):
     * `local` relative to its parent (parent inverse included), `world` down the parent chain.
     * 0 when the object is gone, 1 at the root, 2 under a parent. */
    int32_t (*object_transforms)(const char* key, double frame, double* local, double* world);
    /* What turns a transform relative to the object's parent into its basis (the inverse of its
     * parent inverse); -1 when the object is gone, 0 at the root, 1 under a parent. */
    int32_t (*object_key_space)(const char* key, double* space);
    /* A mesh object's vertices (3 doubles each) and triangles (3 indexes each). Called once with
     * no room to learn the counts, then with room. 0 when the object has no mesh. */
    int32_t (*object_mesh)(const char* key, double* vertices, int32_t vertex_room,
                           int32_t* triangles, int32_t triangle_room, int32_t* vertex_count,
                           int32_t* triangle_count);
    /* Makes an object of that kind for the core node `core_name`, marked with `key`; the name
     * Blender gave it goes to `made`. 0 on failure. */
    int32_t (*create_object)(const char* core_name, const char* key, int32_t kind, double fov,
                             char* made, int32_t capacity);
    /* Renames the object and records the core's new node name; the name Blender gave it goes to
     * `made`. */
    int32_t (*rename_object)(const char* key, const char* name, char* made, int32_t capacity);
    /* The tool lets go of the object: it stays in the scene with its keys, no longer a node of
     * any tool. */
    void (*release_object)(const char* key);
    /* Removes the object (and its data when nothing else uses it). */
    void (*delete_object)(const char* key);
    /* Unparents `child` from `parent`, keeping its place in the world. */
    void (*unlink_child)(const char* parent, const char* child);
    /* Keys location, rotation and scale: `count` frames and as many object bases (16 doubles
     * each). Existing keys of those channels from `clear_from` to `clear_to` go first (nothing
     * is cleared when clear_from > clear_to). */
    void (*write_keys)(const char* key, int32_t count, const double* frames, const double* bases,
                       double clear_from, double clear_to);
    /* Puts `count` objects (keys one per line) at their bases (16 doubles each) without keying
     * them: once per turn of a take, for every object the take moves. */
    void (*show_bases)(int32_t count, const char* keys, const double* bases);

    double (*frame_rate)(void);
    /* Frames, with the sub-frame. */
    double (*current_frame)(void);
    void (*set_frame)(double frame);
    void (*get_range)(double* first, double* last);
    void (*set_range)(int32_t first, int32_t last);
    void (*redraw)(void);

    /* Blender's undo; 1 when it undid a step. */
    int32_t (*undo)(void);
    /* Stamps every scene with `stamp` and pushes an undo step named `name`. */
    void (*push_undo)(const char* name, int32_t stamp);
    /* The current scene's stamp (0 when it has none). */
    int32_t (*scene_stamp)(void);

    /* level is "INFO", "WARNING" or "ERROR". */
    void (*notice)(const char* level, const char* text);
} QvnbScene;

typedef struct QvnbTake {
    int32_t samples;
    int32_t late_samples;
    double max_lag_ms;
    double first_sample_time;
    double last_sample_time;
    /* Seconds of the take's range that no sample covers (samples the core could not catch up). */
    double lost_seconds;
} QvnbTake;

typedef struct QvnbKeyCost {
    uint64_t keys;
    uint64_t flushes;
    uint64_t shows;
    double seconds;
} QvnbKeyCost;

/* What qvnb_pump reports, so the caller can pace itself. */
#define QVNB_BUSY_RECORDING 1 /* a take or a resimulation runs */
#define QVNB_BUSY_WINDOW 2    /* a window of the core has the focus */
#define QVNB_BUSY_KEYS 4      /* keys wait to be written */

int32_t qvnb_abi_version(void);
/* 1 when the table is accepted (size matches); the table is copied. */
int32_t qvnb_set_scene(const QvnbScene* scene);

/* Loads the core library and attaches; 0 with qvnb_error set on failure. */
int32_t qvnb_attach(const char* core_path);
void qvnb_detach(void);
/* Blender is quitting and its data is gone: detach without calling back. */
void qvnb_detach_at_exit(void);
int32_t qvnb_is_attached(void);
const char* qvnb_error(void);

/* One turn of Blender's loop for the core; returns QVNB_BUSY_* flags. */
int32_t qvnb_pump(void);
void qvnb_flush_keys(void);
int32_t qvnb_waiting_keys(void);
void qvnb_key_cost(QvnbKeyCost* cost);

/* Files and undo. */
const char* qvnb_save_scene(void);
void qvnb_before_load(void);
int32_t qvnb_after_load(const char* scene_text);
int32_t qvnb_load_scene(const char* scene_text);
void qvnb_after_undo(void);
void qvnb_after_redo(void);
int32_t qvnb_undo_step_count(void);
const char* qvnb_undo_step_name(int32_t index);
int32_t qvnb_undo_step_applied(int32_t index);

int32_t qvnb_take_count(void);
int32_t qvnb_take(int32_t index, QvnbTake* take);

/* The core interface; codes as the core returns them. */
int32_t qvnb_open_main_dialog(void);
int32_t qvnb_close_main_dialog(void);
int32_t qvnb_is_main_dialog_open(void);
int32_t qvnb_start_recording(void);
int32_t qvnb_stop_recording(void);
int32_t qvnb_is_recording(void);
int32_t qvnb_get_slow_motion(void);
void qvnb_set_slow_motion(int32_t step);
void qvnb_resimulate(double start, double end);
/* The new instance's name; empty when the tool does not exist. */
const char* qvnb_create_instance(const char* tool);
int32_t qvnb_delete_instance(const char* name);
int32_t qvnb_has_instance(const char* name);
/* 1 with *value set when the setting exists. */
int32_t qvnb_get_setting_int(int32_t id, int32_t* value);
/* A key typed into Blender during a take; 1 when the core took it. */
int32_t qvnb_forward_key(const char* blender_type, int32_t press, int32_t ctrl, int32_t alt,
                         int32_t shift);
/* The tools through the main dialog's own controls (its window need not be shown). Lists are
 * one line per entry, fields parted by tabs. The installed tools, as the create menus offer
 * them: "item<TAB>menu<TAB>name<TAB>description". */
const char* qvnb_installed_tools(void);
/* The scene's tools as the tool tree shows them, depth first: "depth<TAB>name". */
const char* qvnb_scene_tools(void);
/* Creates a tool from its create menu item; the new instance's name, empty when none. */
const char* qvnb_create_tool(int32_t item);
/* Selects the tool's line in the tool tree; 0 when there is none. */
int32_t qvnb_select_tool(const char* name);
/* Opens the tool's configuration window or its input settings; the title of the window shown
 * for it, empty when none opened (no such tool, or a tool without inputs). */
#define QVNB_TOOL_CONFIGURATION 0
#define QVNB_TOOL_INPUT_SETTINGS 1
const char* qvnb_open_tool_window(const char* name, int32_t which);
/* Blender's main X window as found on the display the core uses; 0 when unknown. */
uint32_t qvnb_main_window(void);

#ifdef __cplusplus
}
#endif

#endif
