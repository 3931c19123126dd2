// Program entry point: hands the arguments to application_main.
#include <cstdlib>
#include <cstring>

#include "app/application.h"
#include "app/shell_state.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
    shell.reports.process_start = system_performance_counter();
    shell.reports.startup = getenv("TESMORA_STARTUP_REPORT") != nullptr;
    shell.reports.latency = getenv("TESMORA_LATENCY_REPORT") != nullptr;
    shell.reports.frame_count = getenv("TESMORA_FRAME_COUNT") != nullptr;
    if (argc <= 1) return application_main(nullptr, 0);
    StringView* args = (StringView*)malloc(sizeof(StringView) * (size_t)(argc - 1));
    for (int i = 1; i < argc; i++) args[i - 1] = StringView{argv[i], (i64)strlen(argv[i])};
    i32 status = application_main(args, argc - 1);
    free(args);
    return status;
}
