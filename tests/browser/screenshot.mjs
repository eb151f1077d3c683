// Takes the README's picture of the studio: docs/studio.png.
//   node tests/browser/screenshot.mjs     (after the web build; STUDIO_SITE as for the tests)
import { join } from 'node:path';
import { Studio, root } from './lib/harness.mjs';

const studio = await Studio.open();
try {
  await studio.page.setViewport({ width: 1100, height: 760 });
  await studio.load();
  await studio.tab('syllables');
  await studio.setValue('#goto', '한');
  await studio.page.click('#goto-button');
  await studio.page.evaluate(() => window.scrollTo(0, 0));
  await studio.page.screenshot({ path: join(root, 'docs/studio.png') });
  if (studio.errors.length) throw new Error(`the page logged: ${studio.errors.join('; ')}`);
} finally {
  await studio.close();
}
