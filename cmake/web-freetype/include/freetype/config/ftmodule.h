/*
 * The FreeType modules the studio links: the drivers of the fonts
 * runeplate-fontgen reads (TrueType and OpenType outlines, BDF, PCF; gzip
 * and compress are FreeType options, not modules), what they need (sfnt,
 * psaux, psnames for glyph names) and the monochrome rasteriser. fontgen
 * loads glyphs unhinted in monochrome, so no hinter, auto-fitter or
 * anti-aliasing renderer is left out of anything it draws.
 */
FT_USE_MODULE( FT_Driver_ClassRec, tt_driver_class )
FT_USE_MODULE( FT_Driver_ClassRec, cff_driver_class )
FT_USE_MODULE( FT_Driver_ClassRec, pcf_driver_class )
FT_USE_MODULE( FT_Driver_ClassRec, bdf_driver_class )
FT_USE_MODULE( FT_Module_Class, psaux_module_class )
FT_USE_MODULE( FT_Module_Class, psnames_module_class )
FT_USE_MODULE( FT_Module_Class, sfnt_module_class )
FT_USE_MODULE( FT_Renderer_Class, ft_raster1_renderer_class )
