# Writes the site's service worker: the list of the site's files to keep for offline use, and a version made from
# their contents, so that a browser fetches a new build whole and never mixes two.
#     cmake -DSITE=folder -DTEMPLATE=sw.js.in -P WebServiceWorker.cmake
file(GLOB names RELATIVE ${SITE} ${SITE}/*)
list(REMOVE_ITEM names sw.js)
list(SORT names)
set(hashes "")
set(listed "'./'")
foreach(name IN LISTS names)
    file(SHA256 ${SITE}/${name} hash)
    string(APPEND hashes "${name} ${hash}\n")
    string(APPEND listed ", '${name}'")
endforeach()
string(SHA256 SITE_VERSION "${hashes}")
string(SUBSTRING ${SITE_VERSION} 0 16 SITE_VERSION)
set(SITE_FILES ${listed})
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
