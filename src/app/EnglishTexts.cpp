#include "app/EnglishTexts.h"

#include "platform/IniFile.h"

namespace {

// The [String] section of the shipped "english.lng", word for word; a test
// holds the two against each other.
constexpr std::string_view kEnglishStrings = R"lng([String]
110=File:
111=Width (pixels):
112=Height (pixels):
113=Colour depth:
114=Resolution (dpi):
115=Layer
116=Bitmap image (BMP)
117=JPEG image
118=Raster image
120=Point
121=Position
130=Line
131=Start point
132=End point
133=Layer
140=Rectangle
141=First corner
142=Second corner
150=Arc
151=Centre
152=Diameter:
153=Start angle:
154=End angle:
160=Circle
162=Group
163=Spline
164=Polyline
165=Ellipse
166=Bounding box
167=Min X:
168=Max X:
169=Points
170=Control points
171=Objects
180=Vector drawing
182=File:
183=Lower left:
184=Upper right:
185=Width:
186=Height:
187=Points:
188=Lines:
189=Arcs:
190=Circles:
191=Polylines:
192=Ellipses:
193=Blocks:
194=Rectangles:
195=Drawing summary
196=Texts:
197=On hidden layers:
200=Circle: centre and point
201=Circle: centre and diameter
202=Arc: centre, point, start and end angle
203=Polar arc
204=Closed ellipse
205=Open ellipse
206=Fillet
207=Trim
208=Break
209=Extend
210=Change layer
211=Simplify polylines
212=Move control point
213=Translate
214=Rotate
215=Mirror
216=Scale
217=Offset
221=Window delete
222=Delete small entities
223=Undelete
224=Split
225=Join
230=Entity information
231=Show end points
240=Explode
241=Line by end points
242=Point
243=Polar line
244=Line tangent to two arcs
245=Tangent line at an angle
246=Perpendicular line
247=Tangent arc
248=Point grid
249=Bolt circle
250=Distance
300=Nothing to explode.
301=objects exploded into
302=lines,
303=circles and arcs,
304=polylines
309=Current layer:
310=Scale factor:
311=Scale X:
312=Points removed:
313=Points kept:
400=Open a raster image (BMP, JPEG) or a vector drawing (DXF, SVG).
402=Save the drawing as points (TXT) or HPGL (HGL).
403=DXF files cannot be written: choose points (TXT) or HPGL (HGL).
405=The drawing is empty: there is nothing to save.
406=Save
407=Open a raster image (BMP or JPEG) first.
408=Vectorize
409=small entities found
410=Tracing the image, please wait...
411=small entities deleted
412=Vectorize, step 1: set the brightness thresholds.
413=Vectorize, step 2: remove the isolated spots.
414=Vectorize, step 3: set the tracing parameters, then press Preview.
415=Vector text: choose the font, type the text and place it.
416=Drawing attributes: check the size of the drawing.
418=Layers: choose the current layer and set the layers' visibility, colour and pen width.
419=Entity information: press Select and pick an entity.
420=Grid and snap: set the grid steps and the snap steps.
421=CNC, page 1: choose the NC file and the post-processor.
422=Settings: colours, units, tolerances and language.
423=Reference point: choose where the drawing's origin lies.
424=CNC, page 2: choose the operation and the tool.
425=Contour: set the depths and the passes, then press Calculate.
427=NC program: view, save or simulate the program.
428=Offset: set the distance, then pick the entity and the side.
429=Extend: pick the entity to extend.
430=Delete small entities: set the size limit, then identify or delete them.
431=This command works only on lines, arcs and circles.
432=Please select other entities.
433=Chains: pick an entity of each profile to machine.
445=Calculating the toolpath, please wait... (Esc stops)
450=Kestro
451=Do you really want to close Kestro?
452=Clear the drawing and start a new one?
453=cannot be started: the tracing program is missing from the program folder.
454=The tracer's result file cannot be prepared in the temporary folder:
455=Check that the temporary folder exists and can be written to.
456=The step-over must be greater than 0.
458=This file type cannot be opened.
459=No chain has been selected.
460=Undo
461=The two lines are not in line with each other and cannot be joined.
462=The two arcs do not have the same centre and radius and cannot be joined.
463=This entity cannot be part of a chain.
464=This chain is open: a pocket needs closed chains.
465=The tracing program stopped with an error:
466=The tracing program crashed; nothing was added.
467=Tracing was cancelled; nothing was added.
468=The tracing program's result cannot be read; nothing was added:
469=The tracing program's result is cut short; nothing was added.
470=Pick the first corner of the area.
471=Pick the opposite corner of the area.
472=Drag with the mouse to move the view.
473=Pick the position.
474=Pick the next point (Enter or the right button ends).
475=Pick the centre, then a point on the circle.
476=Pick the start point, then the end point.
477=Select the entities.
478=Pick the base point.
479=Pick the destination point.
480=Pick the control point to move.
482=Pick the corners of the ellipse's box.
483=Move the point to its new place and click.
484=Pick the first point.
485=Pick the second point.
701=NC files
702=The rapid plane must lie above the top of the part.
703=The depth per pass must be greater than 0.
704=passes of
705=pass of
706=last pass of
707=The final depth must not lie above the top of the part.
708=The NC file could not be written:
709=The NC file could not be read:
717=Line:
718=closed
719=open
720=The toolpath could not be calculated.
721=The chain may cross itself or be too small for the tool,
722=or the calculation was stopped with Esc.
723=Do you want to take back the last operation?
724=One pass: the post-processor writes no Z.
725=This field does not hold a number:
750=Tool
751=Tool database
754=Machining time:
)lng";

}  // namespace

std::string_view BuiltInEnglishStrings()
{
    return kEnglishStrings;
}

const IniFile& BuiltInEnglishTexts()
{
    static const IniFile texts = IniFile::FromText(kEnglishStrings);
    return texts;
}
