// Linked into the game with --pre-js. The game keeps its high scores in the
// file "scores" of its working directory, which in the browser is memory
// that a reload wipes. A copy is kept in IndexedDB (an IDBFS folder): it is
// read back before main() runs, and written after every save. The game only
// sees its own file, so the copy also survives the game's own changes.
(function () {
  var KEPT_DIR = '/olvane-gorvel';

  function start() {
    var live = PATH.join2(FS.cwd(), 'scores');
    var kept = PATH.join2(KEPT_DIR, 'scores');
    var syncing = false, again = false;

    function sync() {
      if (syncing) {
        again = true;
        return;
      }
      syncing = true;
      FS.syncfs(false, function (error) {
        if (error) err('The high scores could not be kept: ' + error);
        syncing = false;
        if (again) {
          again = false;
          sync();
        }
      });
    }

    function keep(path) {
      if (PATH_FS.resolve(path) !== live) return;
      try {
        FS.writeFile(kept, FS.readFile(live));
      } catch (e) {
        return;
      }
      sync();
    }

    // The game saves into a temporary file and renames it over "scores";
    // a direct write would end with the file closed.
    function watchSaves() {
      var rename = FS.rename, close = FS.close;
      FS.rename = function (from, to) {
        rename.call(FS, from, to);
        keep(to);
      };
      FS.close = function (stream) {
        var written = (stream.flags & 3) !== 0;  // not O_RDONLY
        close.call(FS, stream);
        if (written && stream.path) keep(stream.path);
      };
    }

    addRunDependency('og-scores');
    try {
      FS.mkdir(KEPT_DIR);
      FS.mount(IDBFS, {}, KEPT_DIR);
      FS.syncfs(true, function (error) {
        if (error) {
          err('The high scores will not be kept: ' + error);
        } else {
          if (FS.analyzePath(kept).exists) FS.writeFile(live, FS.readFile(kept));
          watchSaves();
        }
        removeRunDependency('og-scores');
      });
    } catch (e) {
      // No IndexedDB (a private window, a file: page): the game still
      // plays, and keeps its scores until the page goes.
      err('The high scores will not be kept: ' + e);
      removeRunDependency('og-scores');
    }
  }

  Module['preRun'] = [].concat(Module['preRun'] || [], start);
})();
