// Program entry point: hands the arguments to application_main.
#include <cstdlib>
#include <cstring>

#include "app/application.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
    application_process_start = system_performance_counter();
    application_report_startup = getenv("TESMORA_STARTUP_REPORT") != nullptr;
    application_report_latency = getenv("TESMORA_LATENCY_REPORT") != nullptr;
    if (argc <= 1) return application_main(nullptr, 0);
    StringView* args = (StringView*)malloc(sizeof(StringView) * (size_t)(argc - 1));
    for (int i = 1; i < argc; i++) args[i - 1] = StringView{argv[i], (i64)strlen(argv[i])};
    i32 status = application_main(args, argc - 1);
    free(args);
    return status;
}
