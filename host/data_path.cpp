#include "host/data_path.h"

String kp_data_FixDataPath(String path) {
    int scheme = path.Find(String(":/"));
    if (scheme != -1 && path.Find(String("/")) == scheme + 1) return path;
    if (path.StartsWith(String("./")) || path.StartsWith(String("/"))) return path;
    return String("brisko://data/") + path;
}
