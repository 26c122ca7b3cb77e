# Writes the browser build's service worker (web/sw.js) with the files it
# keeps and a version drawn from their contents, so that every new build of
# any of them is a new version. Run by the build: cmake -DDIR=<build-web>
# -DTEMPLATE=<web/sw.js> -DFILES=<a;b;...> -P web-sw.cmake
set(contents "")
set(quoted "'./'")
foreach(file IN LISTS FILES)
  file(SHA256 ${DIR}/${file} hash)
  string(APPEND contents "${file} ${hash}\n")
  string(APPEND quoted ", '${file}'")
endforeach()
string(SHA256 version "${contents}")
string(SUBSTRING ${version} 0 16 OG_WEB_VERSION)
set(OG_WEB_FILES ${quoted})
configure_file(${TEMPLATE} ${DIR}/sw.js @ONLY)
